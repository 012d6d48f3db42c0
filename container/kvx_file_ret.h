// Result codes of the tag library. Every operation inside the library
// returns one of these; only the public entry points (the tag editor) turn
// them into HRESULTs, through KvxFileRetToHresult. The numbers are fixed:
// they are the values of the library's _KVX_FILE_RET enumeration that other
// modules have always seen, so none may be renumbered.
#pragma once

#include <cstdint>

#include "common/hresult.h"

namespace container {

enum class KvxFileRet : int32_t {
  kOk = 1,
  // Copy or replace failed, temporary path too long, not enough disk
  // space, file attributes unreadable.
  kFailed = 2,
  kCannotAccess = 3,  // file could not be opened, positioned or read
  kWriteIncomplete = 5,
  kFileMissing = 6,
  kReadOnly = 7,
  kOutOfMemory = 8,
  kConversionFailed = 9,  // text conversion or buffer failure
  kNullPointer = 12,
  kUnknownEncoding = 13,  // a text or user-text body asked for encoding 3 or above
  kInconsistent = 14,     // sizes that do not fit together
  kMalformed = 15,        // malformed or unsupported data
  kNoFileName = 16,
  kNoFrames = 17,      // no (more) frames
  kProtected = 18,     // the frame is read-only: nothing changed
  kNotProtected = 19,  // answer of the protection query
  kTagTooLarge = 20,
  // 21 to 27 are content refusals; 26 is the plain write order asked for a
  // tag that holds the "LMR_LSI" object.
  kContentRefusedFirst = 21,
  kLsiInPlainOrder = 26,
  kContentRefusedLast = 27,
  kNotSupported = 28,  // operation not supported for this frame kind
};

// The HRESULT for a content refusal (codes 21 to 27).
constexpr HRESULT kContentRefusedHresult = hr::Make(0x8004040Eu);

HRESULT KvxFileRetToHresult(KvxFileRet code);

inline bool IsOk(KvxFileRet code) { return code == KvxFileRet::kOk; }

}  // namespace container
