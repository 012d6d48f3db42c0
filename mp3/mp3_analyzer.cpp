#include "mp3/mp3_analyzer.h"

#include <new>
#include <vector>

#include "common/debug_log.h"
#include "mp3/ascii.h"
#include "mp3/file_reader.h"
#include "mp3/frame_walk.h"
#include "mp3/id3v1_tag.h"
#include "mp3/id3v2_tag.h"
#include "mp3/tag_code_page.h"
#include "mp3/tag_text_conversion.h"
#include "platform/codepage.h"

namespace mp3 {

namespace {

// The extension is what follows the last dot of the file name.
bool HasMp3Extension(const sys::Path& path) {
  const auto name = path.filename().native();
  const auto dot = name.rfind('.');
  return dot != name.npos && name.size() - dot == 4 && StartsWithIgnoringCase(name.data() + dot, 4, ".mp3");
}

// One text of the trailing tag, chosen by its place in the record.
using NarrowField = std::string NarrowTagTexts::*;
using WideField = std::u16string WideTagTexts::*;

}  // namespace

const char* RefusalName(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone:
      return "";
    case Refusal::kExtension:
      return "extension";
    case Refusal::kRiff:
      return "riff";
    case Refusal::kNoFrame:
      return "no-frame";
    case Refusal::kBitRate:
      return "bit-rate";
    case Refusal::kUnreadable:
      return "unreadable";
  }
  return "unreadable";
}

HRESULT CMp3Analyzer::SetFile(const sys::Path& path) {
  m_bHasTrailingTag = m_bHasLeadingTag = m_bFileSet = false;
  m_refusal = Refusal::kNone;
  m_systemError = 0;
  m_file.close();
  // One question to the file system answers both: missing, or a folder.
  uint64_t statedSize = 0;
  if (!sys::GetFileSize(path, statedSize)) return refuseUnreadable(hr::kInvalidArg);
  if (!HasMp3Extension(path)) return refuse(Refusal::kExtension, hr::kInvalidArg);

  CFileReader& file = m_file;
  if (!file.open(path)) return refuseUnreadable(hr::kFail);
  uint8_t head[4];
  if (file.readAt(0, head, sizeof head) < sizeof head) return refuse(Refusal::kUnreadable, hr::kUnexpected);
  // The player takes bare MPEG audio only, not audio wrapped in RIFF.
  if (StartsWithIgnoringCase(head, 4, "riff")) return refuse(Refusal::kRiff, hr::kInvalidArg);
  const bool leading = StartsWithIgnoringCase(head, 3, "id3");

  uint64_t size = 0;
  static_assert(sizeof m_tail == kId3v1Size);
  if (!file.size(size) || size < kId3v1Size ||
      file.readAt(size - kId3v1Size, m_tail, sizeof m_tail) < sizeof m_tail)
    return refuse(Refusal::kUnreadable, hr::kUnexpected);

  m_bHasLeadingTag = leading;
  m_bHasTrailingTag = LooksLikeId3v1(m_tail);
  m_path = path;
  m_bFileSet = true;
  return hr::kOk;
}

HRESULT CMp3Analyzer::GetMp3Data(uint32_t& lowestBitRate, uint32_t& highestBitRate, uint32_t& durationMs) {
  lowestBitRate = 0xFFFFFFFF;
  highestBitRate = 0;
  durationMs = 0;
  if (!m_bFileSet) return hr::kUnexpected;

  CFileReader& file = m_file;
  uint64_t size = 0;
  if ((!file.isOpen() && !file.open(m_path)) || !file.size(size)) {
    m_systemError = sys::LastError();
    return hr::kFail;
  }
  // A trailing tag is no audio: the last header may start 129 bytes before
  // the end (and its four bytes reach into the tag, as a read there would).
  const int64_t lastByte = static_cast<int64_t>(size) - (m_bHasTrailingTag ? 129 : 1);
  uint64_t start = 0;
  if (m_bHasLeadingTag) {
    uint8_t header[kId3v2HeaderSize];
    if (file.readAt(0, header, sizeof header) < sizeof header) return hr::kUnexpected;
    start = Id3v2TagLength(header);
  }

  FrameWalkResult walk;
  WalkFrames(file, start, lastByte, walk);
  lowestBitRate = walk.lowestBitRate;
  highestBitRate = walk.highestBitRate;
  durationMs = WholeMilliseconds(walk.durationMs);
  m_lastScan = {lowestBitRate, highestBitRate, durationMs};
  return hr::kOk;
}

bool CMp3Analyzer::CheckValidity(const sys::Path& path) {
  DebugLog("\r\nCMp3Analyzer::CheckValidity()");
  // A refused file leaves the analyser without a file, which GetMp3Data
  // reports; SetFile's own code adds nothing to the answer.
  SetFile(path);
  uint32_t lowest = 0, highest = 0, duration = 0;
  if (hr::Failed(GetMp3Data(lowest, highest, duration))) {
    DebugLog("\r\nGetMp3Data() failed.");
    if (m_refusal == Refusal::kNone) m_refusal = Refusal::kUnreadable;
    return false;
  }
  const auto playable = [](uint32_t bitRate) {
    return bitRate >= kLowestPlayableBitRate && bitRate <= kHighestPlayableBitRate;
  };
  if (playable(lowest) && playable(highest)) {
    DebugLog("\r\n~CMp3Analyzer::CheckValidity()");
    return true;
  }
  m_refusal = highest == 0 ? Refusal::kNoFrame : Refusal::kBitRate;
  return false;
}

HRESULT CMp3Analyzer::ReadId3v2(WideTagTexts& out, bool& wideText) {
  out = WideTagTexts();
  wideText = false;
  if (!m_bFileSet) return hr::kUnexpected;

  CFileReader& file = m_file;
  if (!file.isOpen() && !file.open(m_path)) return hr::kFail;
  uint8_t header[kId3v2HeaderSize];
  if (file.readAt(0, header, sizeof header) < sizeof header) return hr::kUnexpected;
  if (header[3] > 4) return hr::kUnexpected;
  // The size field allows 256 MB; a tag cannot be longer than its file, so
  // a larger size is refused before any memory is asked for.
  const uint64_t length = Id3v2TagLength(header);
  uint64_t fileSize = 0;
  if (!file.size(fileSize) || length > fileSize) return hr::kUnexpected;

  std::vector<uint8_t> tag;
  try {
    tag.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return hr::kOutOfMemory;
  }
  if (file.readAt(0, tag.data(), tag.size()) < tag.size()) return hr::kUnexpected;

  Id3v2Texts parsed;
  const HRESULT result = ParseId3v2Tag(tag.data(), tag.size(), parsed);
  out = std::move(parsed.texts);
  wideText = parsed.wide;
  return result;
}

HRESULT CMp3Analyzer::ReadId3v1(NarrowTagTexts& out) {
  out = NarrowTagTexts();
  if (!m_bFileSet) return hr::kUnexpected;
  out = ParseId3v1Tag(m_tail);
  return hr::kOk;
}

HRESULT CMp3Analyzer::GetTagData(WideTagTexts& wide, NarrowTagTexts& narrow) {
  wide = WideTagTexts();
  narrow = NarrowTagTexts();
  if (!m_bFileSet) return hr::kUnexpected;
  const uint32_t tagCodePage = TagCodePage();
  HRESULT result = hr::kOk;

  if (m_bHasLeadingTag) {
    bool wideText = false;
    result = ReadId3v2(wide, wideText);
    // Unicode texts go to the tag code page; narrow texts go back to the
    // code page they came from.
    const uint32_t codePage = wideText ? tagCodePage : sys::kAnsiCodePage;
    narrow.title = NarrowText(codePage, wide.title);
    narrow.artist = NarrowText(codePage, wide.artist);
    narrow.album = NarrowText(codePage, wide.album);
    narrow.genre = NarrowText(codePage, wide.genre);
    if (hr::Failed(result)) {
      wide.title.clear();
      wide.artist.clear();
    }
  }

  if (wide.allEmpty() && m_bHasTrailingTag) {
    result = ReadId3v1(narrow);
    // On a Western system the trailing tag is taken to be in the system's
    // own code page; elsewhere in the tag code page.
    const uint32_t codePage = tagCodePage == kWesternCodePage ? sys::kAnsiCodePage : tagCodePage;
    wide.title = WideText(codePage, narrow.title);
    wide.artist = WideText(codePage, narrow.artist);
    wide.album = WideText(codePage, narrow.album);
    wide.genre = WideText(codePage, narrow.genre);
    // A title of blanks is no title: leave it to the file-name fallback, as
    // the field-by-field pass below does.
    if (!HasNonBlank(narrow.title)) {
      narrow.title.clear();
      wide.title.clear();
    }
  }

  // Every text still empty is tried alone from the trailing tag, genre first
  // and title last.
  if (m_bHasTrailingTag) {
    struct Pair {
      WideField wideText;
      NarrowField narrowText;
    };
    static constexpr Pair kOrder[] = {
        {&WideTagTexts::genre, &NarrowTagTexts::genre},
        {&WideTagTexts::artist, &NarrowTagTexts::artist},
        {&WideTagTexts::album, &NarrowTagTexts::album},
        {&WideTagTexts::title, &NarrowTagTexts::title},
    };
    for (const Pair& field : kOrder) {
      if (!(wide.*field.wideText).empty()) continue;
      NarrowTagTexts trailing;
      result = ReadId3v1(trailing);
      std::string& text = narrow.*field.narrowText;
      text = trailing.*field.narrowText;
      if (HasNonBlank(text)) {
        wide.*field.wideText = WideText(tagCodePage, text);
      } else if (field.narrowText == &NarrowTagTexts::title) {
        text.clear();
      }
    }
  }
  return result;
}

HRESULT CMp3Analyzer::GetTrackInfo(const sys::Path& path, TrackInfo& info, uint32_t number) {
  return trackInfo(path, info, number, nullptr);
}

HRESULT CMp3Analyzer::GetTrackInfo(const sys::Path& path, TrackInfo& info, uint32_t number,
                                   const Mp3Data& scanned) {
  return trackInfo(path, info, number, &scanned);
}

HRESULT CMp3Analyzer::trackInfo(const sys::Path& path, TrackInfo& info, uint32_t number,
                                const Mp3Data* scanned) {
  // The file this analyser has open already (CheckValidity's) is not
  // opened again.
  if (!m_bFileSet || !m_file.isOpen() || m_path != path) SetFile(path);
  uint32_t lowest = 0, highest = 0, duration = 0;
  if (scanned) {
    highest = scanned->highestBitRate;
    duration = scanned->durationMs;
  } else if (hr::Failed(GetMp3Data(lowest, highest, duration))) {
    highest = duration = 0;
  }
  info.sourcePath = path;
  if (number > kMaxTrackNumber) {
    info.number = 0;
    return hr::kFail;
  }
  info.number = number;

  WideTagTexts wide;
  NarrowTagTexts narrow;
  const HRESULT result = GetTagData(wide, narrow);
  if (result != hr::kOk) return result;
  info.title = std::move(narrow.title);
  info.artist = std::move(narrow.artist);
  info.album = std::move(narrow.album);
  info.genre = std::move(narrow.genre);
  info.wideTitle = std::move(wide.title);
  info.wideArtist = std::move(wide.artist);
  info.wideAlbum = std::move(wide.album);
  info.wideGenre = std::move(wide.genre);
  info.highestBitRate = highest;
  info.durationMs = duration;
  info.reserved = 0;
  return result;
}

}  // namespace mp3
