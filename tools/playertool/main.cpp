// playertool: looks after a simulated player from the command line.
//
//   playertool list [--player FOLDER]
//   playertool check [--player FOLDER]
//   playertool put ALBUM FILE... [--player FOLDER]
//   playertool fill --albums N --tracks-per-album M FILE [--player FOLDER]
#include <cstdio>
#include <cstdlib>

#include "tools/common/tool_main.h"
#include "tools/playertool/commands.h"
#include "tools/playertool/player_location.h"

namespace {

int Usage() {
  std::fputs(
      "usage: playertool list [--player FOLDER]\n"
      "       playertool check [--player FOLDER]\n"
      "       playertool put ALBUM FILE... [--player FOLDER]\n"
      "       playertool fill --albums N --tracks-per-album M FILE [--player FOLDER]\n",
      stderr);
  return playertool::kExitUsage;
}

}  // namespace

int tools::ToolMain(const std::vector<std::filesystem::path>& args) {
  std::vector<sys::Path> words;
  sys::Path player;
  int albums = 0, tracksPerAlbum = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--player" || args[i] == "--albums" || args[i] == "--tracks-per-album") {
      if (i + 1 == args.size()) return Usage();
      const sys::Path& value = args[i + 1];
      if (args[i] == "--player") player = value;
      if (args[i] == "--albums") albums = std::atoi(tools::Utf8(value).c_str());
      if (args[i] == "--tracks-per-album") tracksPerAlbum = std::atoi(tools::Utf8(value).c_str());
      ++i;
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
  if (command == u8"fill" && words.size() == 2 && albums > 0 && tracksPerAlbum > 0)
    return playertool::FillCommand(player, albums, tracksPerAlbum, words[1]);
  return Usage();
}
