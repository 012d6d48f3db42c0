#include "stand-ins/device_access/class_factory.h"

#include "stand-ins/device_access/pac_object.h"

namespace standin {

ClassFactory::ClassFactory(sys::Path libraryFolder) : libraryFolder_(std::move(libraryFolder)) {
  g_moduleReferences.fetch_add(1);
}

ClassFactory::~ClassFactory() { g_moduleReferences.fetch_sub(1); }

HRESULT ClassFactory::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG ClassFactory::Release() {
  const long left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  PacObject* object = new (std::nothrow) PacObject(libraryFolder_);
  if (!object) return E_OUTOFMEMORY;
  HRESULT h = object->QueryInterface(riid, out);
  object->Release();
  return h;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    g_moduleReferences.fetch_add(1);
  } else {
    g_moduleReferences.fetch_sub(1);
  }
  return S_OK;
}

}  // namespace standin
