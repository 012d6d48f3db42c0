// Win32 implementation of the system seam. Files are opened by their wide
// path, so names outside the ANSI code page work.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/system.h"
#include "win32/unique_handle.h"

namespace sys {

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return std::string();
  int n =
      ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

Path PathFromAnsi(const std::string& ansi) { return Path(Wide(ansi)); }

std::string AnsiFromPath(const Path& path) { return Narrow(path.wstring()); }

uint32_t LastError() { return ::GetLastError(); }

std::string ErrorText(uint32_t code) {
  wchar_t* buffer = nullptr;
  DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return Narrow(text);
}

void ShowErrorMessage(const std::string& caption, const std::string& text) {
  ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

uint32_t AllocationGranularity() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwAllocationGranularity;
}

namespace {

class Win32Region final : public MappedRegion {
 public:
  Win32Region(win::UniqueHandle mapping, win::UniqueView view, size_t size)
      : mapping_(std::move(mapping)), view_(std::move(view)), size_(size) {}
  const uint8_t* base() const override { return static_cast<const uint8_t*>(view_.get()); }
  size_t size() const override { return size_; }

 private:
  // The view is declared after the mapping so that it is unmapped first.
  win::UniqueHandle mapping_;
  win::UniqueView view_;
  size_t size_;
};

class Win32File final : public ReadOnlyFile {
 public:
  explicit Win32File(win::UniqueFile file) : file_(std::move(file)) {}
  bool size(uint64_t& out) const override {
    LARGE_INTEGER li{};
    if (!file_ || !::GetFileSizeEx(file_.get(), &li)) return false;
    out = static_cast<uint64_t>(li.QuadPart);
    return true;
  }
  std::unique_ptr<MappedRegion> map(uint64_t offset, size_t length) override {
    if (!file_) {
      ::SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    win::UniqueHandle mapping(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return nullptr;
    const void* p = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                                    static_cast<DWORD>(offset & 0xFFFFFFFFu), length);
    if (!p) return nullptr;
    return std::make_unique<Win32Region>(std::move(mapping), win::UniqueView(p), length);
  }
  void closeHandle() override { file_.reset(); }

 private:
  win::UniqueFile file_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenReadOnly(const Path& path, bool exclusive) {
  DWORD share = exclusive ? 0 : (FILE_SHARE_READ | FILE_SHARE_WRITE);
  win::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return nullptr;
  return std::make_unique<Win32File>(std::move(f));
}

bool FileExists(const Path& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const Path& path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool GetFileSize(const Path& path, uint64_t& out) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  out = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool GetReadOnly(const Path& path, bool& readOnly) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
  return true;
}

bool SetReadOnly(const Path& path, bool readOnly) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  if (a == 0) a = FILE_ATTRIBUTE_NORMAL;
  return ::SetFileAttributesW(path.c_str(), a) != 0;
}

bool FreeSpaceForCaller(const Path& path, uint64_t& out) {
  // GetDiskFreeSpaceEx wants a folder; walk up until one exists.
  Path probe = path;
  ULARGE_INTEGER available{};
  while (!probe.empty()) {
    if (::GetDiskFreeSpaceExW(probe.c_str(), &available, nullptr, nullptr)) {
      out = available.QuadPart;
      return true;
    }
    Path parent = probe.parent_path();
    if (parent == probe) break;
    probe = parent;
  }
  return false;
}

Path TempFolder() {
  wchar_t buffer[MAX_PATH + 2] = {};
  DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return Path();
  return Path(std::wstring(buffer, n));
}

bool CopyFileTo(const Path& from, const Path& to, bool overwrite) {
  return ::CopyFileW(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE) != 0;
}

bool DeleteFileAt(const Path& path) { return ::DeleteFileW(path.c_str()) != 0; }

bool CreateFolder(const Path& path) {
  if (::CreateDirectoryW(path.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS && IsDirectory(path);
}

std::FILE* OpenStdioFile(const Path& path, const char* mode) {
  if (std::strcmp(mode, "wbx") != 0) return ::_wfopen(path.c_str(), Wide(mode).c_str());
  // The C runtime knows no "x": the file is created through the system.
  // Besides refusing an existing file, a file created new is not truncated
  // after it is made, as CREATE_ALWAYS does under Wine; ext4 writes out a
  // file truncated to nothing as soon as it is closed, and the next write
  // into its first page then waits for that.
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_WRONLY);
  if (descriptor < 0) {
    ::CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = ::_fdopen(descriptor, "wb");
  if (!stream) ::_close(descriptor);  // closes the handle too
  return stream;
}

bool SeekStdioFile(std::FILE* file, uint64_t offset, int origin) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return ::_fseeki64(file, static_cast<int64_t>(offset), origin) == 0;
}

int64_t TellStdioFile(std::FILE* file) { return ::_ftelli64(file); }

Path ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return Path();
    if (n < buffer.size()) return Path(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

Path ProgramFolder() {
  Path p = ProgramPath().parent_path();
  return p.empty() ? p : p / "";
}

uint32_t ProcessId() { return ::GetCurrentProcessId(); }

uint32_t ThreadId() { return ::GetCurrentThreadId(); }

OsVersion GetOsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!::GetVersionExA(&info)) return OsVersion{};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

bool ReadFileVersion(const Path& path, uint16_t parts[4]) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<uint8_t> block(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
      len < sizeof(VS_FIXEDFILEINFO))
    return false;
  parts[0] = HIWORD(info->dwFileVersionMS);
  parts[1] = LOWORD(info->dwFileVersionMS);
  parts[2] = HIWORD(info->dwFileVersionLS);
  parts[3] = LOWORD(info->dwFileVersionLS);
  return true;
}

namespace {

class Win32Semaphore final : public NamedSemaphore {
 public:
  explicit Win32Semaphore(win::UniqueHandle h) : h_(std::move(h)) {}
  bool wait(uint32_t timeoutMs) override {
    return ::WaitForSingleObject(h_.get(), timeoutMs) == WAIT_OBJECT_0;
  }
  void release() override { ::ReleaseSemaphore(h_.get(), 1, nullptr); }

 private:
  win::UniqueHandle h_;
};

}  // namespace

std::unique_ptr<NamedSemaphore> OpenNamedSemaphore(const std::string& name) {
  win::UniqueHandle h(::OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, Wide(name).c_str()));
  if (!h) return nullptr;
  return std::make_unique<Win32Semaphore>(std::move(h));
}

std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(const std::string& name) {
  win::UniqueHandle h(::CreateSemaphoreW(nullptr, 1, 1, Wide(name).c_str()));
  if (!h) return nullptr;
  return std::make_unique<Win32Semaphore>(std::move(h));
}

}  // namespace sys
