#include "wizard/copy_engine_win32.h"

#include <shlwapi.h>

#include "wizard/copy_entry.h"
#include "wizard/copy_progress.h"
#include "wizard/profile_file_win32.h"
#include "wizard/program_location_win32.h"

namespace wizard {
namespace {

// The calling thread's last error as the result of a step that failed. A
// failure that left no code would otherwise read as success.
DWORD LastErrorOrFail() {
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : static_cast<DWORD>(hr::kFail);
}

class RealFiles final : public CopyFileOps {
 public:
  DWORD GetFileAttributesA(LPCSTR path) override { return ::GetFileAttributesA(path); }
  BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) override {
    return ::SetFileAttributesA(path, attributes);
  }
  BOOL CreateDirectoryA(LPCSTR path) override { return ::CreateDirectoryA(path, nullptr); }
  BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) override {
    return ::CopyFileA(from, to, failIfExists);
  }
};

}  // namespace

CopyFileOps& RealCopyFileOps() {
  static RealFiles files;
  return files;
}

HANDLE StartSystemThread(LPTHREAD_START_ROUTINE routine, void* argument) {
  return ::CreateThread(nullptr, 0, routine, argument, 0, nullptr);
}

CopyEngine::CopyEngine(devcmd::DeviceSystem& system, CopyFileOps& files, ThreadStarter startThread)
    : m_system(system), m_files(files), m_startThread(std::move(startThread)) {}

CopyEngine::~CopyEngine() {
  if (m_hThread) {
    m_bCancel = 1;
    ::WaitForSingleObject(m_hThread.get(), INFINITE);
  }
}

HRESULT CopyEngine::Load(const std::string& modulePath) {
  const std::optional<std::string> folder = EnterProgramFolder(modulePath);
  if (!folder) return hr::kFail;
  ProfileFile file(*folder + "Deckhand.ini");
  return LoadCopySettings(
      file, *folder, [](const std::string& path) { return ::PathFileExistsA(path.c_str()) != FALSE; },
      m_settings);
}

void CopyEngine::SetTarget(const std::string& drive) {
  m_sTarget = drive;
  m_sDestination = drive + m_settings.path;
}

bool CopyEngine::running() const {
  return m_hThread && ::WaitForSingleObject(m_hThread.get(), 0) == WAIT_TIMEOUT;
}

HRESULT CopyEngine::Start() {
  if (running()) return hr::kUnexpected;
  m_hThread.reset();
  m_bCancel = 0;
  m_nFinished = 0;

  // Every folder of the destination from the first one below the root on
  // ("X:\" ends at index 2), outermost first.
  if (m_files.GetFileAttributesA(m_sDestination.c_str()) == INVALID_FILE_ATTRIBUTES) {
    for (size_t i = 4; i < m_sDestination.size(); ++i) {
      if (m_sDestination[i] != '\\') continue;
      const std::string folder = m_sDestination.substr(0, i + 1);
      if (m_files.GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      if (!m_files.CreateDirectoryA(folder.c_str())) return static_cast<HRESULT>(LastErrorOrFail());
    }
  }

  HANDLE thread = m_startThread(&CopyEngine::CopyWorkerProc, this);
  if (thread == nullptr) return static_cast<HRESULT>(LastErrorOrFail());
  m_hThread.reset(thread);
  return hr::kOk;
}

DWORD WINAPI CopyEngine::CopyWorkerProc(void* engine) {
  return static_cast<CopyEngine*>(engine)->runWorker();
}

DWORD CopyEngine::runWorker() {
  const std::optional<int> osKind = m_system.OsKind();
  const std::optional<int> systemValue = SystemValueFor(osKind.value_or(0));
  DWORD result = 0;
  for (const std::string& line : m_settings.files) {
    const CopyEntry entry = ParseCopyEntry(line);
    if (IsPassedOver(entry, systemValue)) {
      ++m_nFinished;
      continue;
    }
    const std::string source = m_settings.programFolder + entry.source;
    const std::string target = m_sDestination + entry.target;
    if (m_bCancel) break;
    const DWORD attributes = m_files.GetFileAttributesA(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++m_nFinished;
      continue;
    }
    if (m_bCancel) break;
    // A read-only copy from an earlier delivery would refuse to be
    // replaced.
    m_files.SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!m_files.CopyFileA(source.c_str(), target.c_str(), FALSE)) {
      result = LastErrorOrFail();
      break;
    }
    ++m_nFinished;
  }
  if (m_bCancel) result = static_cast<DWORD>(hr::kAbort);
  return result;
}

HRESULT CopyEngine::Poll(int& percent, bool& finished) {
  percent = 0;
  finished = false;
  if (!m_hThread) return hr::kOk;
  // Whether the worker has ended is asked of the thread itself: its exit
  // code could be 259 (ERROR_NO_MORE_ITEMS) and still mean it ended.
  if (::WaitForSingleObject(m_hThread.get(), 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    ::GetExitCodeThread(m_hThread.get(), &code);
    finished = true;
    percent = CopyPercent(m_nFinished, m_settings.files.size(), true);
    m_hThread.reset();
    return static_cast<HRESULT>(code);
  }
  percent = CopyPercent(m_nFinished, m_settings.files.size(), false);
  if (m_bCancel) {
    ::WaitForSingleObject(m_hThread.get(), INFINITE);
    m_hThread.reset();
    return hr::kAbort;
  }
  return hr::kOk;
}

void CopyEngine::RequestCancel() {
  if (running()) m_bCancel = 1;
}

}  // namespace wizard
