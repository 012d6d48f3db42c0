#include "app/connectivity_thread.h"

#include "app/message_ids.h"
#include "app/registered_messages.h"
#include "winui/message_text.h"

namespace app {

class CConnectivityThread::Probe final : public ConnectivityProbe {
 public:
  explicit Probe(CConnectivityThread& owner) : owner_(owner) {}
  bool IsConnected() override { return owner_.device_->CheckConnectivity() != 0; }
  void Sleep(uint32_t ms) override {
    // An event instead of Sleep, so that closing does not wait out a poll.
    ::WaitForSingleObject(owner_.wake_.get(), ms);
  }
  void ReportDisconnected() override {
    // The one box a worker thread shows: the main window is about to close
    // and the user should know why. No owner window: it belongs to the UI
    // thread, which keeps running meanwhile.
    winui::ShowMessage(nullptr, msg::kDeviceFailure, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    ::PostMessageW(owner_.mainWindow_, messages::kMediumDisconnected.id(), 0, 0);
  }

 private:
  CConnectivityThread& owner_;
};

CConnectivityThread::CConnectivityThread() : wake_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CConnectivityThread::~CConnectivityThread() {
  if (flags_) flags_->connectivityStop.store(1);
  Wake();
  Join();
}

bool CConnectivityThread::Start(HWND mainWindow, device::CIPACWrap& device, TransferFlags& flags) {
  if (thread_) return false;
  mainWindow_ = mainWindow;
  device_ = &device;
  flags_ = &flags;
  thread_.reset(::CreateThread(nullptr, 0, &ThreadProc, this, 0, nullptr));
  return thread_.valid();
}

void CConnectivityThread::Wake() {
  if (wake_) ::SetEvent(wake_.get());
}

void CConnectivityThread::Join() {
  if (!thread_) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

bool CConnectivityThread::IsRunning() const {
  return thread_ && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CConnectivityThread::ThreadProc(void* parameter) {
  auto& self = *static_cast<CConnectivityThread*>(parameter);
  Probe probe(self);
  WatchConnectivity(*self.flags_, probe);
  return 0;
}

}  // namespace app
