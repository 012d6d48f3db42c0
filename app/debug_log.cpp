#include "app/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/local_time.h"

namespace debuglog {

namespace {

struct LogState {
  std::mutex mutex;  // guards the fields below, not the file (the lock does that)
  sys::Path rootOverride;
  std::string lockName = kLockName;
  sys::Path programFolderOverride;
  sys::Path path;          // empty until StartLog
  uint64_t sizeLimit = 0;  // bytes; 0 = no rotation
  std::shared_ptr<sys::NamedSemaphore> lock;
};

LogState& State() {
  static LogState state;
  return state;
}

sys::Path ProgramFolder() {
  LogState& s = State();
  std::lock_guard<std::mutex> guard(s.mutex);
  sys::Path folder = s.programFolderOverride.empty() ? sys::ProgramFolder() : s.programFolderOverride;
  // The banner shows the folder ending in a separator.
  return folder.empty() || folder.filename().empty() ? folder : folder / "";
}

sys::Path BackupPath(const sys::Path& log) {
  sys::Path backup = log;
  backup.replace_extension(".bak");
  return backup;
}

// Version record read once per process.
const sys::OsVersion& CachedOsVersion() {
  static const sys::OsVersion version = sys::GetOsVersion();
  return version;
}

}  // namespace

sys::Path DefaultRoot() {
#if defined(_WIN32)
  return sys::Path(L"C:\\");
#else
  const char* root = std::getenv("PELLMARK_LOG_ROOT");
  return (root && *root) ? sys::Path(root) : sys::TempFolder();
#endif
}

void Configure(const sys::Path& root, const std::string& lockName, const sys::Path& programFolder) {
  LogState& s = State();
  std::lock_guard<std::mutex> guard(s.mutex);
  s.rootOverride = root;
  s.lockName = lockName.empty() ? kLockName : lockName;
  s.programFolderOverride = programFolder;
  s.path.clear();
  s.sizeLimit = 0;
  s.lock.reset();
}

void Stop() {
  LogState& s = State();
  std::lock_guard<std::mutex> guard(s.mutex);
  s.path.clear();
  s.lock.reset();
}

sys::Path LogPath() {
  LogState& s = State();
  std::lock_guard<std::mutex> guard(s.mutex);
  return s.path;
}

std::string LinePrefix(const std::tm& local) {
  char buffer[64];
  size_t n = std::strftime(buffer, sizeof buffer, "%m/%d/%Y %I:%M:%S%p ", &local);
  return "\n" + std::string(buffer, n);
}

std::string ExpandLineBreaks(const std::string& note, const std::string& prefix) {
  std::string out;
  out.reserve(note.size() + 32);
  for (char c : note) {
    if (c == '\n')
      out += prefix;
    else
      out += c;
  }
  return out;
}

std::string SystemName(const sys::OsVersion& v) {
  constexpr uint32_t kWin9x = 1, kWinNt = 2;
  if (v.platformId == kWin9x && v.minor == 10) return "Windows 98\n";
  if (v.platformId == kWin9x && v.minor == 90) return "Windows ME\n";
  if (v.platformId == kWinNt && v.major == 5 && v.minor == 0) return "Windows 2000\n";
  if (v.platformId == kWinNt && v.major == 5 && v.minor >= 1) return "Windows XP\n";
  return "an unknown operating system\n";
}

std::string VersionTextFrom(const std::string& versionFileBytes, const uint16_t* parts) {
  if (versionFileBytes.size() == 12) return "Version " + std::string(versionFileBytes.c_str());
  if (parts) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Version %d.%d.%02d.%05d", parts[0], parts[1], parts[2], parts[3]);
    return buffer;
  }
  return std::string();
}

}  // namespace debuglog

using namespace debuglog;

std::string GetVersionText() {
  const sys::Path folder = debuglog::ProgramFolder();
  std::string bytes;
  if (std::FILE* f = sys::OpenStdioFile(folder / "version.txt", "rb")) {
    char buffer[12];
    size_t n = std::fread(buffer, 1, sizeof buffer, f);
    std::fclose(f);
    bytes.assign(buffer, n);
  }
  const sys::Path halvern = folder / "Halvern.exe";
  uint16_t parts[4] = {};
  bool haveParts =
      sys::FileExists(halvern) && !sys::IsDirectory(halvern) && sys::ReadFileVersion(halvern, parts);
  return VersionTextFrom(bytes, haveParts ? parts : nullptr);
}

HRESULT StartLog() {
  LogState& s = State();
  sys::Path path;
  std::string lockName;
  {
    std::lock_guard<std::mutex> guard(s.mutex);
    s.sizeLimit = kSizeLimitKiB * 1024;
    sys::Path root = s.rootOverride.empty() ? DefaultRoot() : s.rootOverride;
    sys::Path folder = root / kFolderName;
    sys::CreateFolder(folder);
    path = folder / kFileName;
    s.path = path;
    lockName = s.lockName;
  }
  if (!sys::FileExists(path)) {
    if (std::FILE* f = sys::OpenStdioFile(path, "ab")) std::fclose(f);
  }

  if (auto existing = sys::OpenNamedSemaphore(lockName)) {
    // Another process owns the log; this one only adds to it.
    std::lock_guard<std::mutex> guard(s.mutex);
    s.lock = std::move(existing);
    return hr::kFail;
  }
  auto created = sys::CreateNamedSemaphore(lockName);
  if (!created) return hr::kFail;
  {
    std::lock_guard<std::mutex> guard(s.mutex);
    s.lock = std::move(created);
  }

  DebugLog("\ndebg: Pellmark %s running on ", GetVersionText().c_str());
  DebugLog("%s", SystemName(CachedOsVersion()).c_str());
  DebugLog("debg: Log file set to '%s'\n", sys::AnsiFromPath(path).c_str());
  DebugLog("debg: The application path is '%s'\n", sys::AnsiFromPath(debuglog::ProgramFolder()).c_str());
  return hr::kOk;
}

HRESULT DebugLog(const char* format, ...) {
  LogState& s = State();
  std::shared_ptr<sys::NamedSemaphore> lock;
  sys::Path path;
  uint64_t limit = 0;
  {
    std::lock_guard<std::mutex> guard(s.mutex);
    lock = s.lock;
    path = s.path;
    limit = s.sizeLimit;
  }
  // Notes before StartLog have nowhere to go.
  if (!lock || path.empty() || !format) return hr::kFail;
  if (!lock->wait(1000)) return hr::kFail;

  std::FILE* f = nullptr;
  uint64_t size = 0;
  if (limit != 0 && sys::GetFileSize(path, size) && size >= limit) {
    bool copied = sys::CopyFileTo(path, BackupPath(path), true);
    f = sys::OpenStdioFile(path, copied ? "w" : "a");
  } else {
    f = sys::OpenStdioFile(path, "a");
  }
  if (!f) {
    lock->release();
    return hr::kFail;
  }

  char note[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(note, sizeof note, format, args);
  va_end(args);

  const std::tm local = sys::LocalTime(std::time(nullptr));
  std::string text = ExpandLineBreaks(note, LinePrefix(local));
  std::fwrite(text.data(), 1, text.size(), f);
  std::fflush(f);
  std::fclose(f);
  lock->release();
  return hr::kOk;
}

HRESULT LogText(const char* text) {
  if (!text) return hr::kFail;
  return DebugLog("%.1024s", text);
}
