// playertool: looks after a simulated player from the command line.
//
//   playertool list [--player FOLDER]
//   playertool check [--player FOLDER]
//   playertool put ALBUM FILE... [--player FOLDER]
#include <cstdio>

#include "tools/common/tool_main.h"
#include "tools/playertool/commands.h"
#include "tools/playertool/player_location.h"

namespace {

int Usage() {
  std::fputs(
      "usage: playertool list [--player FOLDER]\n"
      "       playertool check [--player FOLDER]\n"
      "       playertool put ALBUM FILE... [--player FOLDER]\n",
      stderr);
  return playertool::kExitUsage;
}

}  // namespace

int tools::ToolMain(const std::vector<std::filesystem::path>& args) {
  std::vector<sys::Path> words;
  sys::Path player;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--player") {
      if (i + 1 == args.size()) return Usage();
      player = args[++i];
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.empty()) return Usage();
  const auto command = words[0].u8string();
  if (command == u8"list" && words.size() == 1)
    return playertool::ListCommand(playertool::PlayerFolder(player));
  if (command == u8"check" && words.size() == 1)
    return playertool::CheckCommand(playertool::PlayerFolder(player));
  if (command == u8"put" && words.size() >= 3) {
    return playertool::PutCommand(player, words[1].u16string(),
                                  std::vector<sys::Path>(words.begin() + 2, words.end()));
  }
  return Usage();
}
