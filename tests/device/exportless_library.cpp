// A library without DllGetClassObject, for the binding's failure path.
#include <windows.h>

extern "C" __declspec(dllexport) int PellmarkNothingHere() { return 0; }
