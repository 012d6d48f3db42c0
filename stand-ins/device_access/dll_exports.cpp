// The library's exports: a COM in-process server that needs no registration.
#include <windows.h>

#include <new>
#include <vector>

#include "device/ipac.h"
#include "stand-ins/device_access/class_factory.h"
#include "stand-ins/device_access/pac_object.h"

namespace {

// The folder this DLL was loaded from: the player lives beside it.
sys::Path LibraryFolder() {
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&LibraryFolder), &self)) {
    return sys::Path();
  }
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(self, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return sys::Path();
    if (n < buffer.size()) return sys::Path(std::wstring(buffer.data(), n)).parent_path();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, device::kClsidPac)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) standin::ClassFactory(LibraryFolder());
  if (!factory) return E_OUTOFMEMORY;
  HRESULT h = factory->QueryInterface(riid, out);
  factory->Release();
  return h;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return standin::g_moduleReferences.load() == 0 ? S_OK : S_FALSE;
}
