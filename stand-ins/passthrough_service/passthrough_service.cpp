// Stand-in for the maker's pass-through service: a COM in-process server
// for the service's class whose objects pass each command to the simulated
// player attached for the drive. Registered with regsvr32 in the test
// prefix, so the library reaches it through real COM activation.
//
// Results: S_OK when the command completed with good status; E_FAIL with
// the status area holding sense key, ASC and ASCQ when it ended with Check
// Condition; the player's Windows error (as an HRESULT) when it refused the
// request; HRESULT_FROM_WIN32(ERROR_NOT_READY) for a drive with no player.
#include "devcmd/passthrough_service.h"

#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#include "devcmd/inquiry.h"
#include "stand-ins/passthrough_service/service_control.h"

namespace {

using devcmd::DataDirection;
using passthrough_standin::ServiceStatistics;
using scsiplayer::ScsiTarget;

HMODULE g_module = nullptr;
std::atomic<LONG> g_locks{0};
std::atomic<LONG> g_generation{0};  // raised by a restart
std::atomic<bool> g_available{true};

std::mutex g_stateMutex;
ScsiTarget* g_devices[26] = {};
ServiceStatistics g_stats = {};

void Count(int slot, short drive) {
  std::lock_guard lock(g_stateMutex);
  ++g_stats.calls[slot];
  g_stats.lastDrive = drive;
}

ScsiTarget* DeviceOf(short drive) {
  std::lock_guard lock(g_stateMutex);
  return drive >= 0 && drive < 26 ? g_devices[drive] : nullptr;
}

HRESULT Run(short drive, const BYTE* cdb, ULONG cdbLength, DataDirection direction, BYTE* data,
            ULONG dataLength, BYTE* status) {
  if (status == nullptr || cdb == nullptr || (dataLength != 0 && data == nullptr)) return E_POINTER;
  status[0] = status[1] = status[2] = 0;
  ScsiTarget* device = DeviceOf(drive);
  if (device == nullptr) return HRESULT_FROM_WIN32(ERROR_NOT_READY);
  scsiplayer::CommandOutcome outcome;
  uint32_t error = 0;
  if (!device->Execute(cdb, cdbLength, direction, data, dataLength, outcome, error))
    return HRESULT_FROM_WIN32(error);
  if (outcome.scsiStatus == scsiplayer::kStatusCheckCondition) {
    status[0] = outcome.sense[2];
    status[1] = outcome.sense[12];
    status[2] = outcome.sense[13];
    return E_FAIL;
  }
  return S_OK;
}

class PassThroughService final : public devcmd::IPassThroughService {
 public:
  PassThroughService() : m_generation(g_generation.load()) {
    std::lock_guard lock(g_stateMutex);
    ++g_stats.objectsCreated;
    ++g_stats.liveObjects;
  }
  ~PassThroughService() {
    std::lock_guard lock(g_stateMutex);
    --g_stats.liveObjects;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, devcmd::kIidPassThroughService)) {
      *out = static_cast<devcmd::IPassThroughService*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE SendNoData(short drive, ULONG cdbLength, const BYTE* cdb, BYTE* status) override {
    Count(devcmd::kSlotSendNoData, drive);
    if (disconnected()) return RPC_E_DISCONNECTED;
    return Run(drive, cdb, cdbLength, DataDirection::kNone, nullptr, 0, status);
  }
  HRESULT STDMETHODCALLTYPE SendIn(short drive, ULONG cdbLength, const BYTE* cdb, ULONG dataLength,
                                   BYTE* data, BYTE* status) override {
    Count(devcmd::kSlotSendIn, drive);
    if (disconnected()) return RPC_E_DISCONNECTED;
    return Run(drive, cdb, cdbLength, DataDirection::kIn, data, dataLength, status);
  }
  HRESULT STDMETHODCALLTYPE SendOut(short drive, ULONG cdbLength, const BYTE* cdb, ULONG dataLength,
                                    BYTE* data, BYTE* status) override {
    Count(devcmd::kSlotSendOut, drive);
    if (disconnected()) return RPC_E_DISCONNECTED;
    return Run(drive, cdb, cdbLength, DataDirection::kOut, data, dataLength, status);
  }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return Unused(6); }
  HRESULT STDMETHODCALLTYPE Reserved7() override { return Unused(7); }
  HRESULT STDMETHODCALLTYPE Reserved8() override { return Unused(8); }
  HRESULT STDMETHODCALLTYPE Reserved9() override { return Unused(9); }
  HRESULT STDMETHODCALLTYPE Inquiry(short drive, ULONG length, BYTE* buffer, BYTE* status) override {
    Count(devcmd::kSlotInquiry, drive);
    if (disconnected()) return RPC_E_DISCONNECTED;
    if (length == 0 || length > 255) return E_INVALIDARG;
    const devcmd::InquiryCdb cdb = devcmd::MakeInquiryCdb(static_cast<uint8_t>(length));
    return Run(drive, cdb.data(), static_cast<ULONG>(cdb.size()), DataDirection::kIn, buffer, length, status);
  }

 private:
  bool disconnected() const { return m_generation != g_generation.load(); }
  HRESULT Unused(int slot) {
    Count(slot, -1);
    return E_NOTIMPL;
  }

  std::atomic<ULONG> m_refs{1};
  const LONG m_generation;
};

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is a static object; its count only keeps the DLL loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++g_locks); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--g_locks); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (!g_available.load()) return CO_E_SERVER_EXEC_FAILURE;
    auto* service = new (std::nothrow) PassThroughService();
    if (service == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = service->QueryInterface(iid, out);
    service->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

ClassFactory g_factory;

std::wstring ClsidKey() {
  wchar_t text[64] = {};
  ::StringFromGUID2(devcmd::kClsidPassThroughService, text, 64);
  return std::wstring(L"CLSID\\") + text;
}

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, devcmd::kClsidPassThroughService)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

HRESULT WINAPI DllCanUnloadNow() {
  std::lock_guard lock(g_stateMutex);
  return g_locks.load() == 0 && g_stats.liveObjects == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  HKEY classKey = nullptr, serverKey = nullptr;
  const std::wstring key = ClsidKey();
  LONG status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &classKey, nullptr);
  if (status == ERROR_SUCCESS) {
    status = SetText(classKey, nullptr, L"Pass-through service stand-in");
    if (status == ERROR_SUCCESS)
      status = ::RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey,
                                 nullptr);
    if (status == ERROR_SUCCESS) status = SetText(serverKey, nullptr, path);
    if (status == ERROR_SUCCESS) status = SetText(serverKey, L"ThreadingModel", L"Both");
  }
  if (serverKey) ::RegCloseKey(serverKey);
  if (classKey) ::RegCloseKey(classKey);
  return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT WINAPI DllUnregisterServer() {
  const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey().c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

void WINAPI StandInAttachDevice(int drive, ScsiTarget* device) {
  std::lock_guard lock(g_stateMutex);
  if (drive >= 0 && drive < 26) g_devices[drive] = device;
}

void WINAPI StandInRestartService() { ++g_generation; }

void WINAPI StandInSetAvailable(BOOL available) { g_available.store(available != FALSE); }

void WINAPI StandInGetStatistics(ServiceStatistics* out) {
  if (out == nullptr) return;
  std::lock_guard lock(g_stateMutex);
  *out = g_stats;
}

void WINAPI StandInReset() {
  std::lock_guard lock(g_stateMutex);
  const LONG live = g_stats.liveObjects;
  g_stats = ServiceStatistics{};
  g_stats.liveObjects = live;
  for (ScsiTarget*& d : g_devices) d = nullptr;
  g_available.store(true);
}

}  // extern "C"
