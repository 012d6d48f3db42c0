// CDropThread: the one drop thread of the main window. Start runs RunDrop
// (drop_phases.h) on a new thread against the device wrapper; the thread
// reaches the main window only by posting registered messages. The handle
// is owned here; the destructor waits for the thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/engine/album_vector.h"
#include "app/engine/drop_state.h"
#include "app/engine/job_events.h"
#include "app/engine/job_lists.h"
#include "app/transfer_flags.h"
#include "container/fringe_lock.h"
#include "device/ipac_wrap.h"
#include "win32/unique_handle.h"

namespace app::engine {

struct DropThreadContext {
  HWND mainWindow = nullptr;  // receives the posted messages
  device::CIPACWrap* device = nullptr;
  JobLists* lists = nullptr;
  AlbumVector* albums = nullptr;
  DropState* state = nullptr;
  TransferFlags* flags = nullptr;
  // Null: the process's album lock.
  KVXFringeLock* albumLock = nullptr;
  // Empty: message 4101 from the message module.
  std::u16string newAlbumName;
  // Null: post to mainWindow and show the drop's messages in boxes. Tests
  // pass a recorder; it must outlive the thread.
  JobEvents* events = nullptr;
  // Pause after each batch, in ms.
  unsigned batchPauseMs = 300;
};

class CDropThread {
 public:
  CDropThread() = default;
  ~CDropThread();
  CDropThread(const CDropThread&) = delete;
  CDropThread& operator=(const CDropThread&) = delete;

  // Starts the drop thread; false when one still runs, the context lacks a
  // part, or the thread cannot be made. The context's objects must outlive
  // the thread (Wait before they go). Also makes the device wrapper's stop
  // checks read the context's cancel and device-gone flags.
  bool Start(const DropThreadContext& context);
  // Waits until the thread (if any) has ended and closes its handle.
  void Wait();
  bool IsRunning() const;
  // The result of the last finished drop (drop_phases.h), 0 before any.
  int LastResult() const { return result_.load(); }

 private:
  static DWORD WINAPI ThreadProc(void* parameter);
  void Run();

  DropThreadContext context_;
  win::UniqueHandle thread_;
  std::atomic<int> result_{0};
};

}  // namespace app::engine
