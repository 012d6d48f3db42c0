#include "stand-ins/device_access/task_memory_watch.h"

#include <objbase.h>

namespace standin {

TaskMemoryWatch& TaskMemoryWatch::Instance() {
  // Never destroyed: the allocator may call the spy until the process ends.
  static TaskMemoryWatch* watch = new TaskMemoryWatch();
  return *watch;
}

bool TaskMemoryWatch::install() {
  std::lock_guard<std::mutex> hold(mutex_);
  if (tried_) return installed_;
  tried_ = true;
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&TaskMemoryWatch::Instance), &self)) {
    return false;
  }
  installed_ = SUCCEEDED(::CoRegisterMallocSpy(this));
  return installed_;
}

void TaskMemoryWatch::handOut(void* block, const std::shared_ptr<PlayerDiagnostics>& diagnostics) {
  if (!block) return;
  std::lock_guard<std::mutex> hold(mutex_);
  if (!installed_) return;
  live_[block] = diagnostics;
  freed_.erase(block);
  diagnostics->outstandingBlocks.fetch_add(1);
}

HRESULT TaskMemoryWatch::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) {
    *out = static_cast<IMallocSpy*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

void* TaskMemoryWatch::PostAlloc(void* actual) {
  std::lock_guard<std::mutex> hold(mutex_);
  freed_.erase(actual);  // the address is in use again
  return actual;
}

void* TaskMemoryWatch::PreFree(void* request, BOOL) {
  if (!request) return request;
  std::shared_ptr<PlayerDiagnostics> twice;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (auto it = live_.find(request); it != live_.end()) {
      if (auto d = it->second.lock()) d->outstandingBlocks.fetch_sub(1);
      freed_[request] = it->second;
      live_.erase(it);
      return request;
    }
    auto it = freed_.find(request);
    if (it == freed_.end()) return request;
    twice = it->second.lock();
  }
  // Reported outside the lock: the log takes its own.
  if (twice) twice->callerError("a block handed out by the player was freed twice");
  return nullptr;  // the second free must not reach the heap
}

SIZE_T TaskMemoryWatch::PreRealloc(void* request, SIZE_T cb, void** newRequest, BOOL) {
  *newRequest = request;
  return cb;
}

void* TaskMemoryWatch::PostRealloc(void* actual, BOOL) {
  std::lock_guard<std::mutex> hold(mutex_);
  freed_.erase(actual);
  return actual;
}

}  // namespace standin
