// The system seam: the few operating-system services the portable core needs,
// with one implementation for Win32 (system_win32.cpp) and one for POSIX
// (system_posix.cpp). Paths are std::filesystem::path, which is wide on
// Windows and UTF-8 on POSIX, so no caller has to care which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace sys {

using Path = std::filesystem::path;

// ---- Text of paths ----------------------------------------------------------

// A path from narrow text in the ANSI code page (UTF-8 on POSIX).
Path PathFromAnsi(const std::string& ansi);
// The narrow form of a path, for log lines; characters the ANSI code page
// cannot hold become '?'.
std::string AnsiFromPath(const Path& path);

// ---- Errors -----------------------------------------------------------------

// The calling thread's last system error (GetLastError or errno).
uint32_t LastError();
// The system's text for an error code, without a trailing line break.
std::string ErrorText(uint32_t code);
// Shows a message box (Win32) or writes to standard error (POSIX).
void ShowErrorMessage(const std::string& caption, const std::string& text);

// ---- Memory-mapped files ----------------------------------------------------

// Allocation granularity of mapped views (65,536 on Windows, the page size on
// POSIX).
uint32_t AllocationGranularity();

// A read-only mapped region of a file; unmapped by the destructor.
class MappedRegion {
 public:
  virtual ~MappedRegion() = default;
  virtual const uint8_t* base() const = 0;
  virtual size_t size() const = 0;
};

// A file opened for reading so that a region of it can be mapped.
class ReadOnlyFile {
 public:
  virtual ~ReadOnlyFile() = default;
  // Size of the file; false when the system cannot tell.
  virtual bool size(uint64_t& out) const = 0;
  // Maps [offset, offset + length) for reading; offset must be a multiple of
  // the allocation granularity. Null on failure (LastError tells why).
  virtual std::unique_ptr<MappedRegion> map(uint64_t offset, size_t length) = 0;
  // Closes the file handle; an existing mapping keeps the file open.
  virtual void closeHandle() = 0;
};

// Opens an existing file for reading. exclusive false lets others read and
// write it meanwhile; true shares nothing. Null on failure.
std::unique_ptr<ReadOnlyFile> OpenReadOnly(const Path& path, bool exclusive);

// ---- Files and folders ------------------------------------------------------

bool FileExists(const Path& path);  // a file or a folder
bool IsDirectory(const Path& path);
bool GetFileSize(const Path& path, uint64_t& out);
// Read-only attribute (Win32) or missing write permission (POSIX).
bool GetReadOnly(const Path& path, bool& readOnly);
bool SetReadOnly(const Path& path, bool readOnly);
// Bytes available to the calling user on the volume holding path.
bool FreeSpaceForCaller(const Path& path, uint64_t& out);
// The system temporary folder, ending in a separator; empty when none.
Path TempFolder();
bool CopyFileTo(const Path& from, const Path& to, bool overwrite);
bool DeleteFileAt(const Path& path);
bool CreateFolder(const Path& path);  // an existing folder counts as success
// C stdio on a path of either width; mode as for fopen ("rb", "ab", ...).
// "wbx" creates a new file and fails, leaving it alone, when one exists.
std::FILE* OpenStdioFile(const Path& path, const char* mode);
// Owns a stdio file and closes it on every way out.
struct StdioFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueStdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;
// 64-bit fseek and ftell; origin as for fseek. An offset beyond the signed
// 64-bit range fails without moving; TellStdioFile is -1 on failure.
bool SeekStdioFile(std::FILE* file, uint64_t offset, int origin);
int64_t TellStdioFile(std::FILE* file);

// ---- Process ----------------------------------------------------------------

Path ProgramPath();    // full path of the running program
Path ProgramFolder();  // its folder
uint32_t ProcessId();
uint32_t ThreadId();

// Version of the running system as GetVersionEx reports it.
struct OsVersion {
  uint32_t platformId = 0;  // 1 = Windows 9x family, 2 = NT family, 0 = other
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
};
OsVersion GetOsVersion();

// The four 16-bit parts of a file's version resource, most significant first.
bool ReadFileVersion(const Path& path, uint16_t parts[4]);

// ---- Named semaphore --------------------------------------------------------

// A counting semaphore shared by name between processes.
class NamedSemaphore {
 public:
  virtual ~NamedSemaphore() = default;
  // Waits up to timeoutMs; false on time-out or failure.
  virtual bool wait(uint32_t timeoutMs) = 0;
  virtual void release() = 0;
};

// Opens an existing semaphore; null when it does not exist.
std::unique_ptr<NamedSemaphore> OpenNamedSemaphore(const std::string& name);
// Creates a semaphore with count 1 of 1; null on failure.
std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(const std::string& name);

}  // namespace sys
