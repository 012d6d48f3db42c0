#include "mp3/validity_check.h"

#include "common/debug_log.h"
#include "mp3/tag_code_page.h"
#include "mp3/tag_text_conversion.h"
#include "platform/codepage.h"

namespace mp3 {

std::u16string WideFileStem(const sys::Path& path) {
#if defined(_WIN32)
  const std::wstring stem = path.stem().native();
  return std::u16string(stem.begin(), stem.end());
#else
  // Names on POSIX are bytes, usually UTF-8; bytes that are not UTF-8 become
  // U+FFFD rather than failing the check.
  return sys::Utf16FromUtf8(path.stem().native());
#endif
}

bool CheckValidity(const sys::Path& path, TrackInfo& info, ValidityReport* report) {
  DebugLog("\nCIPACWrap::CheckValidity(%s)", sys::AnsiFromPath(path).c_str());
  ValidityReport found;
  Mp3Data scanned;
  CMp3Analyzer checker;  // reads an accepted file's texts too, through the same opening
  bool accepted = checker.CheckValidity(path);
  found.reason = checker.refusal();
  found.systemError = checker.systemError();
  scanned = checker.lastScan();
  found.lowestBitRate = scanned.lowestBitRate;
  found.highestBitRate = scanned.highestBitRate;
  found.durationMs = scanned.durationMs;
  if (accepted) {
    const HRESULT code = checker.GetTrackInfo(path, info, 0, scanned);
    if (info.title.empty()) {
      // The title comes from the wide name itself: a detour through the ANSI
      // code page would turn every character outside it into '?'.
      const std::u16string stem = WideFileStem(path);
      info.wideTitle = stem;
      sys::CapUtf16(info.wideTitle, kMaxWideTextUnits);
      info.title = NarrowText(TagCodePage(), stem);
    }
    accepted = code == hr::kOk;
    if (!accepted) found.reason = Refusal::kUnreadable;
  }
  found.accepted = accepted;
  if (report) *report = found;
  return accepted;
}

}  // namespace mp3
