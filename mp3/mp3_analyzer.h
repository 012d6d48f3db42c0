// CMp3Analyzer: decides whether one file is an MP3 the player can take and
// reads what travels with its transfer: the tag texts, the duration and the
// highest bit rate. It only reads the file: SetFile opens it, the other
// operations read through that one opening (an open costs more than the
// reads of a short file), and it is closed when the analyser goes or takes
// another file. Others may read and write the file meanwhile. One analyser is made
// for each file and thrown away afterwards.
#pragma once

#include <cstdint>

#include "common/hresult.h"
#include "mp3/file_reader.h"
#include "mp3/tag_texts.h"
#include "mp3/track_info.h"
#include "platform/system.h"

namespace mp3 {

// Bit rates the player plays, in bit/s; every frame must lie within them.
constexpr uint32_t kLowestPlayableBitRate = 32000;
constexpr uint32_t kHighestPlayableBitRate = 320000;

// Why a file was turned down, for diagnostics.
enum class Refusal {
  kNone,
  kExtension,   // the name does not end in ".mp3"
  kRiff,        // an MP3 wrapped in a RIFF file
  kNoFrame,     // no MPEG audio frame at all
  kBitRate,     // a frame below 32 or above 320 kbit/s
  kUnreadable,  // missing, a folder, unreadable, too short, or tags that cannot be read
};

// "", "extension", "riff", "no-frame", "bit-rate", "unreadable".
const char* RefusalName(Refusal refusal);

// What GetMp3Data finds: bit rates in bit/s, the duration in whole
// milliseconds. Without any frame lowest stays 0xFFFFFFFF and highest 0.
struct Mp3Data {
  uint32_t lowestBitRate = 0xFFFFFFFF;
  uint32_t highestBitRate = 0;
  uint32_t durationMs = 0;
};

class CMp3Analyzer {
 public:
  CMp3Analyzer() = default;
  virtual ~CMp3Analyzer() = default;
  CMp3Analyzer(const CMp3Analyzer&) = delete;
  CMp3Analyzer& operator=(const CMp3Analyzer&) = delete;

  // Takes the file the other operations work on. kInvalidArg when it is
  // missing, a folder, not named ".mp3" (any letter case) or begins with
  // "RIFF"; kFail when it cannot be opened; kUnexpected when it is too short
  // to hold its first four bytes and a trailing tag's place.
  HRESULT SetFile(const sys::Path& path);

  // Walks every frame: the lowest and highest bit rate (bit/s) and the total
  // duration in whole milliseconds (see Mp3Data). kUnexpected without
  // SetFile or when the leading tag's header cannot be read; kFail when the
  // file cannot be opened or sized.
  HRESULT GetMp3Data(uint32_t& lowestBitRate, uint32_t& highestBitRate, uint32_t& durationMs);

  // SetFile and GetMp3Data: true when every frame lies within 32 to 320
  // kbit/s and there is at least one.
  bool CheckValidity(const sys::Path& path);

  // The texts of the leading tag; wideText tells whether the last matching
  // frame held Unicode text. kUnexpected without SetFile, when the tag is
  // longer than the file or cannot be read whole, or its version is above
  // 4; kFail when the file cannot be opened or the version is 0 or 1.
  HRESULT ReadId3v2(WideTagTexts& out, bool& wideText);

  // The texts of the trailing tag as SetFile read it (all empty when the
  // last 128 bytes do not begin with "TAG"). kUnexpected without SetFile
  // (which refuses files shorter than 128 bytes).
  HRESULT ReadId3v1(NarrowTagTexts& out);

  // The tag texts: from the leading tag, then from the trailing tag for
  // every text still empty. Answers the code of the last tag reader that
  // ran (kOk when none ran); kUnexpected without SetFile.
  HRESULT GetTagData(WideTagTexts& wide, NarrowTagTexts& narrow);

  // SetFile (unless this analyser has the path open already), GetMp3Data
  // and GetTagData for the path, into info. The path is always stored; the
  // texts, highest bit rate and duration only when the tags were read (kOk).
  // kFail, with number 0, when number is above kMaxTrackNumber.
  HRESULT GetTrackInfo(const sys::Path& path, TrackInfo& info, uint32_t number);
  // The same with the result of a GetMp3Data that has just walked this file,
  // which is then not walked again.
  HRESULT GetTrackInfo(const sys::Path& path, TrackInfo& info, uint32_t number, const Mp3Data& scanned);

  bool hasTrailingTag() const { return m_bHasTrailingTag; }
  bool hasLeadingTag() const { return m_bHasLeadingTag; }
  bool isFileSet() const { return m_bFileSet; }

  // Why the last SetFile or CheckValidity turned the file down.
  Refusal refusal() const { return m_refusal; }
  // For kUnreadable: the system's error code from the failed open (0 when
  // the system reported none, e.g. a file too short to hold an MP3).
  uint32_t systemError() const { return m_systemError; }
  // What the last successful GetMp3Data found (the start values before).
  const Mp3Data& lastScan() const { return m_lastScan; }

 private:
  HRESULT trackInfo(const sys::Path& path, TrackInfo& info, uint32_t number, const Mp3Data* scanned);
  HRESULT refuse(Refusal why, HRESULT code) {
    m_file.close();  // a refused file is not held open
    m_refusal = why;
    return code;
  }
  // Unreadable, keeping the system's reason: call straight after the
  // failed system call, before anything else can overwrite it.
  HRESULT refuseUnreadable(HRESULT code) {
    m_systemError = sys::LastError();
    return refuse(Refusal::kUnreadable, code);
  }

  bool m_bHasTrailingTag = false;  // the last 128 bytes begin with "TAG", any letter case
  bool m_bHasLeadingTag = false;   // the file begins with "ID3", any letter case
  bool m_bFileSet = false;
  sys::Path m_path;
  // The last 128 bytes as SetFile read them: the trailing tag's texts are
  // asked for one by one, and each read of the file would cost an open.
  uint8_t m_tail[128] = {};
  CFileReader m_file;  // open from a successful SetFile on

  Refusal m_refusal = Refusal::kNone;
  uint32_t m_systemError = 0;
  Mp3Data m_lastScan;
};

}  // namespace mp3
