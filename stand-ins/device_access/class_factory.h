// The class factory DllGetClassObject hands out: it makes one simulated
// player object per CreateInstance.
#pragma once

#include <unknwn.h>

#include "platform/system.h"

namespace standin {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(sys::Path libraryFolder);
  ~ClassFactory();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  long references_ = 1;
  sys::Path libraryFolder_;
};

}  // namespace standin
