#include "platform/crash_hook.h"

namespace sys {

bool RunBeforeCrash(void (*)()) { return false; }

}  // namespace sys
