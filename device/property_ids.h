// Numbers shared by the device wrapper and the device-access library: the
// property identifiers of albums and tracks, the placement codes of moves
// and exports, and the constant arguments of the library's calls. Portable,
// so that the simulated player's core can use them too.
#pragma once

#include <cstdint>

namespace device {

// Property identifiers.
constexpr uint32_t kPropName = 0x10001;         // text: album name or track title
constexpr uint32_t kPropAlbumText = 0x10003;    // text: album text of a track
constexpr uint32_t kPropArtist = 0x10005;       // text
constexpr uint32_t kPropGenre = 0x10006;        // text
constexpr uint32_t kPropPlayTime = 0x40009;     // 64-bit ms in a currency-typed value
constexpr uint32_t kPropTrackNumber = 0x50017;  // unsigned 32-bit
constexpr uint32_t kPropTrackFlags = 0x50024;   // unsigned 32-bit, 0xFFFE for a new track
constexpr uint32_t kPropHeaderBytes = 0x50029;  // 24 bytes of the closing container header
constexpr uint32_t kPropFilePath = 0x3000A;     // text: the track's file on the player

constexpr uint32_t kNewTrackFlags = 0xFFFE;
constexpr uint32_t kHeaderPropertyBytes = 24;

// Where moved or exported items go relative to the reference item.
constexpr uint32_t kPlaceBefore = 1;
constexpr uint32_t kPlaceAfter = 2;
constexpr uint32_t kPlaceInto = 4;  // the reference is an album: append to it

// Constant arguments.
constexpr uint32_t kInitializeMode = 1;
constexpr uint32_t kRootFolderKind = 1;
constexpr uint32_t kCreateFolderKind = 4;  // first and third argument of CreateObject
constexpr uint32_t kUsableMediumKind = 1;

// Length of the container header block the transfer sends before and after
// the audio.
constexpr uint32_t kHeaderBlockLength = 96;

}  // namespace device
