// Pellmark.exe exports KVXFringeLock (declared with dllexport in
// container/fringe_lock.h) for the companion modules built against it. The
// class lives in a static library, and the linker takes an object from a
// library only when something refers to it; this reference, kept even
// though nothing reads it, makes sure the class and its exports are always
// in the program.
#include "container/fringe_lock.h"

namespace {
#if defined(__GNUC__)
__attribute__((used))
#endif
void (KVXFringeLock::*const kKeepLock)() = &KVXFringeLock::lock;
}  // namespace
