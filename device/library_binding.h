// Binding to the device-access library: load the DLL, ask its
// DllGetClassObject for the class factory of the player class and have the
// factory make the IPAC object. Loaded modules are kept in one process-wide
// set, so a library is loaded once however many bindings use it; the set
// lets go of them at exit, and a module is unloaded once neither the set
// nor a binding holds it.
#pragma once

#include <memory>

#include "device/ipac.h"
#include "platform/system.h"
#include "win32/com_ptr.h"
#include "win32/unique_module.h"

namespace device {

constexpr wchar_t kPacLibraryName[] = L"OrlenPACAPI.dll";

struct PacBinding {
  // Declared first so that it goes last: the object's code lives in it.
  std::shared_ptr<win::UniqueModule> module;
  win::ComPtr<IPAC> pac;
};

// The library beside the running program. The program is started from the
// player's drive, where the library lives next to it; naming that folder in
// full keeps a library of the same name in the current folder from being
// loaded instead.
sys::Path DefaultPacLibraryPath();

// Binds the library at path. Every failure unloads the module again (unless
// another binding still uses it) and answers the failing step's HRESULT.
HRESULT BindPacLibrary(const sys::Path& path, PacBinding& out);

// Whether the process-wide set holds the library at path (for tests).
bool IsPacLibraryLoaded(const sys::Path& path);

}  // namespace device
