// The tool's commands; each returns the process exit code.
#pragma once

#include <vector>

#include "platform/system.h"

namespace playertool {

// Albums and tracks with their properties.
int ListCommand(const sys::Path& player);
// Every stored track file; non-zero when a fault is found.
int CheckCommand(const sys::Path& player);
// Transfers the files into the album (created when missing) through the
// device wrapper. player empty: the library's own choice of folder.
int PutCommand(const sys::Path& player, const std::u16string& album, const std::vector<sys::Path>& files);

// Fills the player with albums "Fill 1".."Fill N" of tracksPerAlbum tracks
// each: file is transferred once, the other tracks are copies of it.
int FillCommand(const sys::Path& player, int albums, int tracksPerAlbum, const sys::Path& file);

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFaults = 1;  // faults found, or files refused or failed
constexpr int kExitUsage = 2;
constexpr int kExitCancelled = 3;

}  // namespace playertool
