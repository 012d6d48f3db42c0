// playertool fill: a player with many albums of many tracks, made quickly.
// One track goes onto the player the normal way (checked, tagged, framed and
// exported through the device wrapper); every further track is a copy of
// that track's file under an identifier of its own, recorded in the index,
// which is then written once. Transferring thousands of tracks one by one
// would take minutes; copies of a stored track are as valid as the track.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "device/property_ids.h"
#include "platform/codepage.h"
#include "stand-ins/device_access/player_store.h"
#include "tools/playertool/commands.h"
#include "tools/playertool/player_check.h"
#include "tools/playertool/player_location.h"
#include "win32/unique_handle.h"

namespace playertool {

namespace {

std::u16string AlbumName(int number) { return sys::Utf16FromUtf8("Fill " + std::to_string(number)); }

// Case-sensitive creation: Wine otherwise looks for a differently cased
// name by reading the whole folder on every new file, which makes filling
// a folder of thousands of tracks quadratic.
bool WriteWhole(const sys::Path& path, const std::vector<uint8_t>& data) {
  // Track files live in numbered subfolders; the first file of each makes it.
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  win::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_POSIX_SEMANTICS, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

}  // namespace

int FillCommand(const sys::Path& player, int albums, int tracksPerAlbum, const sys::Path& file) {
  if (albums <= 0 || tracksPerAlbum <= 0) return kExitUsage;
  // The first track, transferred into the first album.
  if (const int put = PutCommand(player, AlbumName(1), {file}); put != kExitOk) return put;

  standin::PlayerStore store;
  std::string problem;
  if (store.open(PlayerFolder(player), problem) < 0) {
    std::fprintf(stderr, "fill: %s\n", problem.c_str());
    return kExitFaults;
  }
  const std::u16string firstName = AlbumName(1);
  const standin::StoredAlbum* first = nullptr;
  for (const auto& album : store.albums()) {
    auto name = album.properties.find(device::kPropName);
    if (name != album.properties.end() && name->second == standin::PropertyValue(firstName)) first = &album;
  }
  if (!first || first->tracks.empty()) {
    std::fprintf(stderr, "fill: the first track is not on the player\n");
    return kExitFaults;
  }
  const uint32_t firstAlbum = first->id;
  const standin::StoredTrack model = *store.track(first->tracks.back());
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(store.trackPath(model), bytes)) {
    std::fprintf(stderr, "fill: cannot read the first track's file\n");
    return kExitFaults;
  }

  int made = 0;
  for (int a = 1; a <= albums; ++a) {
    uint32_t albumId = firstAlbum;
    if (a > 1) {
      albumId = store.allocateId();
      store.addAlbum(albumId).properties[device::kPropName] = AlbumName(a);
    }
    const size_t have = store.album(albumId)->tracks.size();
    for (size_t t = have; t < static_cast<size_t>(tracksPerAlbum); ++t) {
      standin::StoredTrack track = model;
      track.id = store.allocateId();
      track.fileName = standin::PlayerStore::TrackFileName(track.id);
      track.properties[device::kPropTrackNumber] = static_cast<uint32_t>(t + 1);
      if (!WriteWhole(store.trackPath(track), bytes)) {
        std::fprintf(stderr, "fill: cannot write %s\n", track.fileName.c_str());
        return kExitFaults;
      }
      store.insertTrack(albumId, SIZE_MAX, std::move(track));
      ++made;
    }
  }
  if (store.save(problem) < 0) {
    std::fprintf(stderr, "fill: %s\n", problem.c_str());
    return kExitFaults;
  }
  std::printf("fill: %d albums of %d tracks (%d copies of the first)\n", albums, tracksPerAlbum, made);
  return kExitOk;
}

}  // namespace playertool
