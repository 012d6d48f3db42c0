// Watches the COM task allocator for the blocks the simulated player hands
// out (property blocks, value arrays, name and id arrays), so that it can
// tell how many the caller has not freed yet and catch a block freed twice.
// It is an IMallocSpy, of which a process has one; once installed it stays
// until the process ends, and the library is pinned in memory so that the
// allocator never calls into an unloaded module.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "stand-ins/device_access/player_diagnostics.h"

namespace standin {

class TaskMemoryWatch final : public IMallocSpy {
 public:
  static TaskMemoryWatch& Instance();
  // Registers the spy once; false when the process already has another.
  bool install();
  // A block the player gives to its caller, counted against diagnostics.
  void handOut(void* block, const std::shared_ptr<PlayerDiagnostics>& diagnostics);

  // IUnknown: a process-lifetime object, so no counting.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  // IMallocSpy
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cb) override { return cb; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override;
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL spyed) override;
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T cb, void** newRequest, BOOL) override;
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override;
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  TaskMemoryWatch() = default;

  std::mutex mutex_;
  bool installed_ = false;
  bool tried_ = false;
  // Blocks handed out and not freed, and blocks freed since (until the
  // allocator gives the address out again).
  std::map<void*, std::weak_ptr<PlayerDiagnostics>> live_;
  std::map<void*, std::weak_ptr<PlayerDiagnostics>> freed_;
};

}  // namespace standin
