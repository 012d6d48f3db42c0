#include "app/debug_log.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "app/log_file.h"
#include "app/log_note_queue.h"
#include "platform/cost_meter.h"
#include "platform/crash_hook.h"
#include "platform/local_time.h"

namespace debuglog {

namespace {

void WriteBatch(std::vector<std::string>& batch);

struct LogState {
  std::mutex mutex;  // guards the fields below, not the file (the lock does that)
  sys::Path rootOverride;
  std::string lockName = kLockName;
  sys::Path programFolderOverride;
  sys::Path path;          // empty until StartLog
  uint64_t sizeLimit = 0;  // bytes; 0 = no rotation
  std::shared_ptr<sys::NamedSemaphore> lock;

  // Notes of batches that could not be written, told in the next batch.
  std::atomic<uint64_t> droppedNotes{0};
  NoteQueue queue{&WriteBatch};
};

LogState& State() {
  static LogState state;
  return state;
}

bool IsStarted(LogState& s) {
  std::lock_guard<std::mutex> guard(s.mutex);
  return s.lock && !s.path.empty();
}

// The line prefix of the current second. Notes come many to a second, and
// the local time conversion is the dearest part of making one. The clock is
// read through std::chrono: the C library's time() costs several
// microseconds a call under Wine (it asks for the time zone each time).
std::string CurrentLinePrefix() {
  struct Cached {
    std::time_t second = -1;
    char text[48] = {};
    size_t length = 0;
  };
  thread_local Cached cached;
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  if (now != cached.second) {
    const std::string prefix = LinePrefix(sys::LocalTime(now));
    cached.length = prefix.copy(cached.text, sizeof cached.text);
    cached.second = now;
  }
  return std::string(cached.text, cached.length);
}

std::string DroppedNote(uint64_t count) {
  char text[96];
  std::snprintf(text, sizeof text, "debg: %llu notes were dropped: the log stayed busy or could not be opened",
                static_cast<unsigned long long>(count));
  return FileBytes(CurrentLinePrefix() + text);
}

// The writer's side: the whole batch in one open under the log lock. A
// batch that cannot be written (lock busy for a second, file not openable)
// is lost, and counted so that the next batch says so.
void WriteBatch(std::vector<std::string>& batch) {
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
  if (!lock || path.empty()) return;  // the log was stopped meanwhile
  if (!lock->wait(1000)) {
    s.droppedNotes += batch.size();
    return;
  }
  const uint64_t droppedBefore = s.droppedNotes.exchange(0);
  if (droppedBefore != 0) batch.insert(batch.begin(), DroppedNote(droppedBefore));
  const size_t written = AppendNotes(path, limit, batch);
  lock->release();

  uint64_t lost = batch.size() - written;
  if (droppedBefore != 0 && written == 0) {
    // The count did not make it into the file either: it stays owed.
    s.droppedNotes += droppedBefore;
    --lost;
  }
  s.droppedNotes += lost;
}

// At orderly exit the writer thread ends with everything pending written.
// The log stays started: notes of static objects destroyed later are
// written by their callers.
void EndWriterAtExit() { State().queue.stop(); }

// On a crash, what is pending is written by the crashing thread, waiting
// no longer than the lock itself would make it wait.
void WritePendingBeforeCrash() { State().queue.flushWithin(std::chrono::milliseconds(1000)); }

void StartWriter(LogState& s) {
  s.queue.start();
  static std::once_flag hooks;
  std::call_once(hooks, [] {
    std::atexit(&EndWriterAtExit);
    sys::RunBeforeCrash(&WritePendingBeforeCrash);
  });
}

sys::Path ProgramFolder() {
  LogState& s = State();
  std::lock_guard<std::mutex> guard(s.mutex);
  sys::Path folder = s.programFolderOverride.empty() ? sys::ProgramFolder() : s.programFolderOverride;
  // The banner shows the folder ending in a separator.
  return folder.empty() || folder.filename().empty() ? folder : folder / "";
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
  s.queue.stop();
  s.droppedNotes = 0;
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
  s.queue.stop();
  std::lock_guard<std::mutex> guard(s.mutex);
  s.path.clear();
  s.lock.reset();
}

void Flush() { State().queue.flush(); }

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
    {
      std::lock_guard<std::mutex> guard(s.mutex);
      s.lock = std::move(existing);
    }
    StartWriter(s);
    return hr::kFail;
  }
  auto created = sys::CreateNamedSemaphore(lockName);
  if (!created) return hr::kFail;
  {
    std::lock_guard<std::mutex> guard(s.mutex);
    s.lock = std::move(created);
  }
  StartWriter(s);

  DebugLog("\ndebg: Pellmark %s running on ", GetVersionText().c_str());
  DebugLog("%s", SystemName(CachedOsVersion()).c_str());
  DebugLog("debg: Log file set to '%s'\n", sys::AnsiFromPath(path).c_str());
  DebugLog("debg: The application path is '%s'\n", sys::AnsiFromPath(debuglog::ProgramFolder()).c_str());
  // The banner is in the file when start-up goes on.
  s.queue.flush();
  return hr::kOk;
}

HRESULT DebugLog(const char* format, ...) {
  LogState& s = State();
  // Notes before StartLog have nowhere to go.
  if (!format || !IsStarted(s)) return hr::kFail;
  costs::Scope meter(costs::Area::kLogNotes);

  char note[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(note, sizeof note, format, args);
  va_end(args);

  s.queue.add(FileBytes(ExpandLineBreaks(note, CurrentLinePrefix())));
  return hr::kOk;
}

HRESULT LogText(const char* text) {
  if (!text) return hr::kFail;
  return DebugLog("%.1024s", text);
}
