// The records behind album and track rows, with the limits of their text
// fields, and the rules for the texts shown in the list. Texts are byte
// strings in the system ANSI code page, as the rest of the program keeps
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace treelist {

// Device identifier of an album or a track; 0 while the list does not know
// it (a track added by a transfer until it is first looked up).
using Eid = uint32_t;

// Numbers read 0xFFFFFFFF until the first renumbering.
constexpr uint32_t kUnnumbered = 0xFFFFFFFFu;
// A text field holds 128 bytes on the player's side of the program; with
// room for a terminator and a spare byte, at most 126 bytes are stored.
constexpr size_t kTextFieldLimit = 126;
// The source path area holds 260 bytes (MAX_PATH).
constexpr size_t kPathFieldLimit = 259;
// Shown for an empty artist, album, genre or title.
constexpr std::string_view kUnknownText = "Unknown";

// The longest prefix of text, at most maxBytes bytes, that does not end in
// the middle of a multi-byte character of the ANSI code page. Text stops at
// an embedded NUL, as it would in the fixed fields it mirrors.
std::string CutAnsiText(std::string_view text, size_t maxBytes);

// A text that never holds more than MaxBytes bytes.
template <size_t MaxBytes>
class BoundedText {
 public:
  static constexpr size_t kMaxBytes = MaxBytes;
  BoundedText() = default;
  explicit BoundedText(std::string_view text) { assign(text); }
  void assign(std::string_view text) { text_ = CutAnsiText(text, MaxBytes); }
  const std::string& str() const { return text_; }
  bool empty() const { return text_.empty(); }

 private:
  std::string text_;
};

using FieldText = BoundedText<kTextFieldLimit>;

struct AlbumData {
  uint32_t albumNumber = kUnnumbered;
  // Sums of the album's tracks. Wider than the player's 32-bit fields so
  // that 999 long tracks cannot wrap the total.
  uint64_t totalSize = 0;
  int64_t totalDurationMs = 0;
  uint32_t image = 1;
  FieldText name;
  FieldText text2;
  FieldText text3;
  uint32_t firstTrackNumber = kUnnumbered;
  uint32_t lastTrackNumber = kUnnumbered;
  Eid eid = 0;
};

struct TrackData {
  uint32_t trackNumber = kUnnumbered;
  uint64_t size = 0;
  int64_t durationMs = 0;
  uint32_t image = 1;
  FieldText title;
  FieldText artist;
  FieldText genre;
  uint32_t reserved = 0;
  // 1 for a track added by a transfer in this run.
  uint32_t editState = 0;
  FieldText album;
  BoundedText<kPathFieldLimit> path;
  Eid eid = 0;
};

// "%02d:%02d" minutes and seconds of a play time; minutes are not capped
// (3,725,000 ms is "62:05"). A negative time shows as "00:00".
std::string FormatPlayTime(int64_t ms);

// Tag texts of a track added by a transfer: artist, album and genre lose
// white space at both ends, the title keeps it; any of them left empty
// reads "Unknown".
std::string TrimmedTagText(std::string_view text);
std::string TitleText(std::string_view text);
// Texts of a track read from the player: trailing white space cut, empty
// reads "Unknown".
std::string LoadedText(std::string_view text);

}  // namespace treelist
