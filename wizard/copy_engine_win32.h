// CopyEngine: copies the files of the copy list from the program folder
// into the target folder on the player, on a worker thread that the
// copying page polls. The worker and the page share only two 32-bit words,
// the count of finished entries and the cancel flag.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "common/hresult.h"
#include "devcmd/device_system.h"
#include "win32/unique_handle.h"
#include "wizard/copy_file_ops_win32.h"
#include "wizard/copy_settings.h"

namespace wizard {

// Starts a thread running routine(argument) with the default stack size:
// its handle, or null with the reason in GetLastError.
using ThreadStarter = std::function<HANDLE(LPTHREAD_START_ROUTINE routine, void* argument)>;

// CreateThread.
HANDLE StartSystemThread(LPTHREAD_START_ROUTINE routine, void* argument);

class CopyEngine {
 public:
  // The engine classifies the system through system (for the copy list's
  // filters), touches files only through files and starts its worker with
  // startThread.
  CopyEngine(devcmd::DeviceSystem& system, CopyFileOps& files, ThreadStarter startThread = StartSystemThread);
  // A copy still running is cancelled and waited for.
  ~CopyEngine();
  CopyEngine(const CopyEngine&) = delete;
  CopyEngine& operator=(const CopyEngine&) = delete;

  // Reads "Deckhand.ini" in the program folder (and makes that folder the
  // current directory). kFail when the settings cannot be used.
  HRESULT Load(const std::string& modulePath);
  // Settings from elsewhere (tests).
  void Use(CopySettings settings) { m_settings = std::move(settings); }
  const CopySettings& settings() const { return m_settings; }

  // drive is "X:"; the copy goes to drive + PATH.
  void SetTarget(const std::string& drive);
  const std::string& destinationFolder() const { return m_sDestination; }

  // Creates the destination folders and starts the worker: 0 only with the
  // worker running; otherwise the Windows error of a folder that could not
  // be made or of a worker that could not start (kFail when the system
  // gave none), or kUnexpected while an earlier copy still runs.
  HRESULT Start();
  // percent and finished as the page shows them. With no worker: 0. Once
  // the worker has ended: finished, 100, and its result (0 when every entry
  // was handled, the Windows error of a failed copy, or kAbort when
  // cancelled). While it runs: the share of finished entries and 0 - unless
  // a cancel was asked for: then it waits for the worker to stop and
  // returns kAbort with finished still false.
  HRESULT Poll(int& percent, bool& finished);
  // Asks a running worker to stop before its next file; the file being
  // copied is finished.
  void RequestCancel();
  bool running() const;

 private:
  static DWORD WINAPI CopyWorkerProc(void* engine);
  DWORD runWorker();

  devcmd::DeviceSystem& m_system;
  CopyFileOps& m_files;
  ThreadStarter m_startThread;
  CopySettings m_settings;
  std::string m_sTarget;
  std::string m_sDestination;
  win::UniqueHandle m_hThread;
  std::atomic<uint32_t> m_nFinished{0};
  std::atomic<uint32_t> m_bCancel{0};
};

}  // namespace wizard
