// The file calls the copy makes, behind a seam so that tests can slow a
// copy down, fail it with a chosen code or watch the order of calls. Each
// has the meaning of the Win32 function of the same name and reports
// errors through SetLastError.
#pragma once

#include <windows.h>

namespace wizard {

class CopyFileOps {
 public:
  virtual ~CopyFileOps() = default;
  virtual DWORD GetFileAttributesA(LPCSTR path) = 0;
  virtual BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) = 0;
  virtual BOOL CreateDirectoryA(LPCSTR path) = 0;
  virtual BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) = 0;
};

// The real file system.
CopyFileOps& RealCopyFileOps();

}  // namespace wizard
