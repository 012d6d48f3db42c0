// The calling thread's last Win32 error as a failure code.
#pragma once

#include <windows.h>

#include "common/hresult.h"

namespace devcmd {

inline HRESULT LastErrorResult() {
  const DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? hr::kFail : HRESULT_FROM_WIN32(error);
}

}  // namespace devcmd
