// A library that looks like the device-access library but refuses to make
// the player class, for the binding's failure path.
#include <windows.h>

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID, void** out) {
  if (out) *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}
