// Static objects of Pellmark.exe whose order matters.
//
// The log's state must outlive every other static object: the device
// wrapper, a static object too, writes its last note from its destructor at
// exit. Objects are destroyed in the reverse order of their construction, so
// the log's state is made here, ahead of all ordinary static objects.
#include <windows.h>

#include "app/debug_log.h"
#include "app/system_language.h"

namespace app {

namespace {

struct EarlyStatics {
  EarlyStatics() : language(::GetSystemDefaultLangID()) {
    debuglog::LogPath();  // constructs the log's state
  }
  uint16_t language;
};

#if defined(__GNUC__)
__attribute__((init_priority(101)))
#endif
EarlyStatics g_early;

}  // namespace

uint16_t SystemDefaultLanguage() { return g_early.language; }

}  // namespace app
