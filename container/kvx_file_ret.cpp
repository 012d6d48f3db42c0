#include "container/kvx_file_ret.h"

namespace container {

HRESULT KvxFileRetToHresult(KvxFileRet code) {
  const auto value = static_cast<int32_t>(code);
  if (value >= static_cast<int32_t>(KvxFileRet::kContentRefusedFirst) &&
      value <= static_cast<int32_t>(KvxFileRet::kContentRefusedLast)) {
    return kContentRefusedHresult;
  }
  switch (code) {
    case KvxFileRet::kOk:
      return hr::kOk;
    // Declined requests, not failures.
    case KvxFileRet::kReadOnly:
    case KvxFileRet::kNoFrames:
    case KvxFileRet::kProtected:
      return hr::kFalse;
    case KvxFileRet::kOutOfMemory:
      return hr::kOutOfMemory;
    case KvxFileRet::kNullPointer:
      return hr::kPointer;
    case KvxFileRet::kInconsistent:
    case KvxFileRet::kMalformed:
    case KvxFileRet::kNoFileName:
      return hr::kInvalidArg;
    case KvxFileRet::kNotSupported:
      return hr::kNotImpl;
    default:
      return hr::kFail;
  }
}

}  // namespace container
