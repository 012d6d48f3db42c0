// The simulated player's COM object: IPAC over a PlayerDevice, converting
// BSTRs, VARIANTs and task-memory arrays, and IPlayerStandIn for tests.
#pragma once

#include <atomic>

#include "device/ipac.h"
#include "stand-ins/device_access/player_device.h"
#include "stand-ins/device_access/standin_diagnostics.h"

namespace standin {

// Live objects and factory locks of the module, for DllCanUnloadNow.
extern std::atomic<long> g_moduleReferences;

class PacObject final : public device::IPAC, public IPlayerStandIn {
 public:
  explicit PacObject(sys::Path libraryFolder);
  ~PacObject();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPAC
  HRESULT STDMETHODCALLTYPE Initialize(ULONG mode, LPCWSTR folder1, LPCWSTR folder2) override;
  HRESULT STDMETHODCALLTYPE GetDeviceList(ULONG* count, BSTR** names) override;
  HRESULT STDMETHODCALLTYPE IsDeviceConnected(BSTR device, ULONG* connected) override;
  HRESULT STDMETHODCALLTYPE GetMediumCapacity(LONGLONG* third, LONGLONG* freeBytes,
                                              LONGLONG* capacity) override;
  HRESULT STDMETHODCALLTYPE StartTransaction(BSTR device) override;
  HRESULT STDMETHODCALLTYPE EndTransaction(BSTR device) override;
  HRESULT STDMETHODCALLTYPE StartExportOperation(BSTR device, device::ExportParameters* params,
                                                 ULONG* operation) override;
  HRESULT STDMETHODCALLTYPE WriteExportData(BSTR device, ULONG operation, ULONG count,
                                            const BYTE* data) override;
  HRESULT STDMETHODCALLTYPE EndExportOperation(BSTR device, ULONG operation) override;
  HRESULT STDMETHODCALLTYPE ResolveObject(BSTR device, ULONG id, ULONG* token) override;
  HRESULT STDMETHODCALLTYPE RemoveObject(BSTR device, ULONG token) override;
  HRESULT STDMETHODCALLTYPE GetCurrentOperation(BSTR device, ULONG* operation) override;
  HRESULT STDMETHODCALLTYPE CancelOperation(BSTR device, ULONG operation) override;
  HRESULT STDMETHODCALLTYPE GetOperationProgress(BSTR device, ULONG operation, LONGLONG* current,
                                                 LONGLONG* total) override;
  HRESULT STDMETHODCALLTYPE EnumMediumIds(BSTR device, ULONG* count, ULONG** kinds, ULONG** second) override;
  HRESULT STDMETHODCALLTYPE GetRootFolder(BSTR device, ULONG kind, ULONG* root) override;
  HRESULT STDMETHODCALLTYPE GetChildCount(BSTR device, ULONG parent, ULONG* count) override;
  HRESULT STDMETHODCALLTYPE GetChildIds(BSTR device, ULONG parent, ULONG count, const ULONG* positions,
                                        ULONG** ids) override;
  HRESULT STDMETHODCALLTYPE GetProperties(BSTR device, ULONG id, ULONG count, const ULONG* propertyIds,
                                          device::PropertyEntry** block) override;
  HRESULT STDMETHODCALLTYPE SetProperties(BSTR device, ULONG id, ULONG count,
                                          const device::PropertyEntry* block) override;
  HRESULT STDMETHODCALLTYPE CreateObject(BSTR device, ULONG kind, ULONG parent, ULONG objectKind,
                                         ULONG* id) override;
  HRESULT STDMETHODCALLTYPE MoveObjects(BSTR device, ULONG reference, ULONG placement, ULONG count,
                                        const ULONG* ids, HRESULT** results) override;
  HRESULT STDMETHODCALLTYPE DeleteFolders(BSTR device, ULONG count, const ULONG* ids,
                                          HRESULT** results) override;

  // IPlayerStandIn
  HRESULT STDMETHODCALLTYPE GetState(StandInState* state) override;

 private:
  template <class T>
  HRESULT handOutArray(const std::vector<T>& values, T** out);

  std::atomic<ULONG> references_{1};
  PlayerDevice device_;
};

}  // namespace standin
