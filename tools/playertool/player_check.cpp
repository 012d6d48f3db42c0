#include "tools/playertool/player_check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "stand-ins/device_access/player_store.h"
#include "tools/playertool/track_file_check.h"

namespace playertool {

bool ReadFileBytes(const sys::Path& path, std::vector<uint8_t>& out) {
  std::FILE* f = sys::OpenStdioFile(path, "rb");
  if (!f) return false;
  out.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

PlayerCheck CheckPlayer(const sys::Path& folder) {
  PlayerCheck check;
  standin::PlayerStore store;
  std::string problem;
  if (store.load(folder, problem) < 0) {
    check.faults.push_back("index: " + problem);
    return check;
  }
  check.albums = store.albums().size();
  check.tracks = store.tracks().size();
  std::set<std::string> named;
  for (const auto& album : store.albums()) {
    for (uint32_t id : album.tracks) {
      const standin::StoredTrack& t = store.tracks().at(id);
      named.insert(t.fileName);
      const std::string who = "track " + std::to_string(id) + " (" + t.fileName + "): ";
      std::vector<uint8_t> bytes;
      if (!ReadFileBytes(store.trackPath(t), bytes)) {
        check.faults.push_back(who + "file missing or unreadable");
        continue;
      }
      if (bytes.size() != t.fileBytes) {
        check.faults.push_back(who + "file holds " + std::to_string(bytes.size()) +
                               " bytes, the index says " + std::to_string(t.fileBytes));
      }
      for (const auto& fault : CheckTrackFile(bytes.data(), bytes.size()).faults)
        check.faults.push_back(who + fault);
    }
  }
  std::vector<std::string> files = standin::PlayerStore::FilesInTracksFolder(store.tracksFolder());
  std::sort(files.begin(), files.end());
  for (const std::string& name : files) {
    if (!named.count(name)) check.faults.push_back("tracks folder: " + name + " is not in the index");
  }
  return check;
}

std::string CheckSummary(const PlayerCheck& check) {
  return "check: " + std::to_string(check.albums) + " albums, " + std::to_string(check.tracks) + " tracks, " +
         std::to_string(check.faults.size()) + " faults";
}

}  // namespace playertool
