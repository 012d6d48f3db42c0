#include "app/engine/drop_thread.h"

#include <chrono>

#include "app/debug_log.h"
#include "app/engine/drop_device_win32.h"
#include "app/engine/drop_events_win32.h"
#include "app/engine/drop_phases.h"
#include "app/message_ids.h"
#include "platform/cost_meter.h"
#include "winui/message_text.h"

namespace app::engine {

CDropThread::~CDropThread() { Wait(); }

bool CDropThread::IsRunning() const {
  return thread_.valid() && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void CDropThread::Wait() {
  if (!thread_.valid()) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

bool CDropThread::Start(const DropThreadContext& context) {
  if (IsRunning()) return false;
  if (!context.device || !context.lists || !context.albums || !context.state || !context.flags) return false;
  if (!context.events && !context.mainWindow) return false;
  Wait();  // a finished thread's handle

  context_ = context;
  if (!context_.albumLock) context_.albumLock = &SharedAlbumLock();
  if (context_.newAlbumName.empty()) {
    const std::wstring text = winui::MessageText(msg::kNewAlbumName);
    context_.newAlbumName.assign(text.begin(), text.end());
  }
  // The transfer's stop checks follow this drop's flags.
  TransferFlags* flags = context_.flags;
  context_.device->SetCancelQuery(
      [flags] { return flags->cancel.load() != 0 || flags->deviceGone.load() != 0; });

  DWORD id = 0;
  thread_.reset(::CreateThread(nullptr, 0, &CDropThread::ThreadProc, this, 0, &id));
  if (!thread_.valid()) {
    DebugLog("\nCDropThread: CreateThread failed, error %u", static_cast<unsigned>(::GetLastError()));
    return false;
  }
  return true;
}

DWORD WINAPI CDropThread::ThreadProc(void* parameter) {
  static_cast<CDropThread*>(parameter)->Run();
  return 0;
}

void CDropThread::Run() {
  costs::Scope meter(costs::Area::kDropThread);
  // COM for the device-access library's calls made on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    CWrapJobDevice device(*context_.device);
    CPostingJobEvents posting(context_.mainWindow);
    DropContext drop{device,
                     context_.events ? *context_.events : static_cast<JobEvents&>(posting),
                     *context_.lists,
                     *context_.albums,
                     *context_.state,
                     *context_.flags,
                     *context_.albumLock,
                     context_.newAlbumName,
                     std::chrono::milliseconds(context_.batchPauseMs)};
    result_.store(RunDrop(drop));
  } catch (...) {
    // Nothing may leave the thread; the main window still needs its end.
    DebugLog("\nCDropThread: the drop ended by an exception");
    result_.store(kPhaseFailed);
    if (context_.flags->deviceGone.load() == 0) {
      if (context_.events) {
        context_.events->TransferCompleted();
      } else {
        CPostingJobEvents(context_.mainWindow).TransferCompleted();
      }
    }
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace app::engine
