#include "device/library_binding.h"

#include <map>
#include <mutex>
#include <string>

#include "common/debug_log.h"

namespace device {

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

HRESULT LastErrorResult() {
  const DWORD e = ::GetLastError();
  return e ? HRESULT_FROM_WIN32(e) : E_FAIL;
}

// One entry per loaded library, keyed by its full path in lower case.
class ModuleSet {
 public:
  static ModuleSet& Instance() {
    static ModuleSet set;
    return set;
  }

  std::shared_ptr<win::UniqueModule> load(const sys::Path& path, HRESULT& result) {
    std::lock_guard<std::mutex> hold(mutex_);
    const std::wstring key = Key(path);
    if (auto it = modules_.find(key); it != modules_.end()) {
      result = S_OK;
      return it->second;
    }
    // Altered search path: the library's own dependencies are looked for
    // in its folder first.
    HMODULE m = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m) {
      result = LastErrorResult();
      return nullptr;
    }
    auto module = std::make_shared<win::UniqueModule>(m);
    modules_[key] = module;
    result = S_OK;
    return module;
  }

  void forget(const sys::Path& path) {
    std::lock_guard<std::mutex> hold(mutex_);
    modules_.erase(Key(path));
  }

  bool holds(const sys::Path& path) {
    std::lock_guard<std::mutex> hold(mutex_);
    return modules_.count(Key(path)) != 0;
  }

 private:
  static std::wstring Key(const sys::Path& path) {
    std::wstring k = std::filesystem::absolute(path).wstring();
    ::CharLowerBuffW(k.data(), static_cast<DWORD>(k.size()));
    return k;
  }

  std::mutex mutex_;
  std::map<std::wstring, std::shared_ptr<win::UniqueModule>> modules_;
};

}  // namespace

sys::Path DefaultPacLibraryPath() { return sys::ProgramFolder() / kPacLibraryName; }

HRESULT BindPacLibrary(const sys::Path& path, PacBinding& out) {
  out = PacBinding{};
  HRESULT h = S_OK;
  PacBinding binding;
  binding.module = ModuleSet::Instance().load(path, h);
  if (!binding.module) {
    DebugLog("\nCannot load %s (0x%08lX)", sys::AnsiFromPath(path).c_str(), static_cast<unsigned long>(h));
    return h;
  }
  auto fail = [&](HRESULT failure, const char* step) {
    DebugLog("\n%s failed (0x%08lX)", step, static_cast<unsigned long>(failure));
    binding.pac.reset();
    // Only the set and this binding hold it: nobody else uses the module.
    if (binding.module.use_count() <= 2) ModuleSet::Instance().forget(path);
    binding.module.reset();  // unloads unless another binding holds it
    return failure;
  };
  auto getClassObject =
      reinterpret_cast<GetClassObjectFn>(::GetProcAddress(binding.module->get(), "DllGetClassObject"));
  if (!getClassObject) return fail(LastErrorResult(), "GetProcAddress(DllGetClassObject)");
  win::ComPtr<IClassFactory> factory;
  h = getClassObject(kClsidPac, IID_IClassFactory, factory.putVoid());
  if (FAILED(h)) return fail(h, "DllGetClassObject");
  if (!factory) return fail(E_POINTER, "DllGetClassObject");
  h = factory->CreateInstance(nullptr, kIidPac, binding.pac.putVoid());
  factory.reset();
  if (FAILED(h)) return fail(h, "CreateInstance");
  if (!binding.pac) return fail(E_POINTER, "CreateInstance");
  out = std::move(binding);
  return S_OK;
}

bool IsPacLibraryLoaded(const sys::Path& path) { return ModuleSet::Instance().holds(path); }

}  // namespace device
