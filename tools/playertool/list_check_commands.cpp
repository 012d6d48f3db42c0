#include <cstdio>
#include <string>

#include "device/property_ids.h"
#include "platform/codepage.h"
#include "stand-ins/device_access/player_store.h"
#include "tools/common/tool_main.h"
#include "tools/playertool/commands.h"
#include "tools/playertool/player_check.h"

namespace playertool {

namespace {

std::string Quoted(const standin::PropertyMap& props, uint32_t id) {
  auto it = props.find(id);
  if (it == props.end() || !std::holds_alternative<std::u16string>(it->second)) return "-";
  return "\"" + sys::Utf8FromUtf16(std::get<std::u16string>(it->second)) + "\"";
}

template <class T>
std::string Number(const standin::PropertyMap& props, uint32_t id, const char* format) {
  auto it = props.find(id);
  if (it == props.end() || !std::holds_alternative<T>(it->second)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long long>(std::get<T>(it->second)));
  return text;
}

std::string MinutesSeconds(int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(ms / 60000),
                static_cast<long long>(ms / 1000 % 60));
  return text;
}

}  // namespace

int ListCommand(const sys::Path& player) {
  standin::PlayerStore store;
  std::string problem;
  if (store.load(player, problem) < 0) {
    std::fprintf(stderr, "list: %s\n", problem.c_str());
    return kExitFaults;
  }
  std::printf("player %s\n", tools::Utf8(player).c_str());
  for (const auto& album : store.albums()) {
    std::printf("album %u %s (%zu tracks, %s)\n", album.id,
                Quoted(album.properties, device::kPropName).c_str(), album.tracks.size(),
                MinutesSeconds(store.albumPlayTime(album)).c_str());
    for (uint32_t id : album.tracks) {
      const standin::StoredTrack& t = store.tracks().at(id);
      const auto& p = t.properties;
      std::printf("  track %u no %s %s artist %s album %s genre %s %s ms flags %s %llu bytes %s\n", id,
                  Number<uint32_t>(p, device::kPropTrackNumber, "%lld").c_str(),
                  Quoted(p, device::kPropName).c_str(), Quoted(p, device::kPropArtist).c_str(),
                  Quoted(p, device::kPropAlbumText).c_str(), Quoted(p, device::kPropGenre).c_str(),
                  Number<int64_t>(p, device::kPropPlayTime, "%lld").c_str(),
                  Number<uint32_t>(p, device::kPropTrackFlags, "0x%llX").c_str(),
                  static_cast<unsigned long long>(t.fileBytes), t.fileName.c_str());
    }
  }
  return kExitOk;
}

int CheckCommand(const sys::Path& player) {
  const PlayerCheck check = CheckPlayer(player);
  for (const auto& fault : check.faults) std::printf("fault: %s\n", fault.c_str());
  std::printf("%s\n", CheckSummary(check).c_str());
  return check.faults.empty() ? kExitOk : kExitFaults;
}

}  // namespace playertool
