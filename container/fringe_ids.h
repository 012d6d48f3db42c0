// The vocabulary through which callers address the frames of a track's
// tag: 17 numbered frame types naming standard frames, and 126 numbered
// sub-codes naming the extended identifiers ("LMR_...") used as frame
// descriptions, with the rules for addresses that hold several values and
// addresses that only open mode 3 may change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace container {

// Frame types.
enum FringeType : uint32_t {
  kFringeTitle = 1,           // "TIT2"
  kFringeSubtitle = 2,        // "TIT3"
  kFringeLength = 3,          // "TLEN"
  kFringePublisher = 4,       // "TPUB"
  kFringePublisherUrl = 5,    // "WPUB"
  kFringeIsrc = 6,            // "TSRC"
  kFringeArtist = 7,          // "TPE1"
  kFringeArtistUrl = 8,       // "WOAR"
  kFringeLyricist = 9,        // "TEXT"
  kFringeComposer = 10,       // "TCOM"
  kFringeAlbum = 11,          // "TALB"
  kFringeCommercialUrl = 12,  // "WCOM"
  kFringeUserText = 13,       // "TXXX"
  kFringeUserUrl = 14,        // "WXXX"
  kFringeObject = 15,         // "GEOB"
  kFringeGenre = 16,          // "TCON"
  kFringePaymentUrl = 17,     // "WPAY"
};

constexpr uint32_t kFringeTypeCount = 17;
constexpr uint32_t kFringeSubCodeCount = 126;

// Sub-codes the program itself uses or that carry rules of their own.
constexpr uint32_t kSubCodeNone = 0;
constexpr uint32_t kSubCodeThumbnail = 13;     // "LMR_FTHBL", several values
constexpr uint32_t kSubCodeSongInfo = 44;      // "LMR_SINFO", protected
constexpr uint32_t kSubCodeSongTime = 49;      // "LMR_ASGTM", protected
constexpr uint32_t kSubCodeAlbumArtist = 56;   // "LMR_ATPE1"
constexpr uint32_t kSubCodeTrackNumber = 77;   // "LMR_TRACK"
constexpr uint32_t kSubCodeAlbumGenre = 85;    // "LMR_AGENR"
constexpr uint32_t kSubCodeUploadInfo = 122;   // "LMR_ULINF"
constexpr uint32_t kSubCodeLibraryInfo = 124;  // "LMR_LSI"

// The frame identifier of a type; empty for a number outside 1 to 17.
std::string_view FringeFrameId(uint32_t type);

// The extended identifier of a sub-code: empty for 0; false for a number
// above 126.
bool FringeExtendedId(uint32_t subCode, std::u16string& out);

// Sub-codes 13 to 27, 58, 67 to 75 and 109 to 111 hold several values.
bool IsMultiValueSubCode(uint32_t subCode);

// "TLEN" without sub-code, and any type with sub-code 44 or 49.
bool IsProtectedAddress(uint32_t type, uint32_t subCode);

// An address translated: the frame it names and the rules that apply.
struct FringeAddress {
  std::string frameId;
  std::u16string extendedId;  // the description; empty for sub-code 0
  bool multiValue = false;    // values stored under extendedId + 1, 2, ...
  bool repeatable = false;    // "WOAR" or "WCOM": several frames of one identifier
  bool isProtected = false;
};

// False when the type or the sub-code is not a valid number.
bool ResolveFringeAddress(uint32_t type, uint32_t subCode, FringeAddress& out);

// The description of value number index (from 1) at the address: the
// extended identifier followed by the number for a multi-value address,
// the identifier alone otherwise.
std::u16string FringeValueDescription(const FringeAddress& address, size_t index);

}  // namespace container
