// The process's one device wrapper. It is made with the program's other
// static objects, before the main window, and destroyed at process exit
// (its destructor writes the last log line and the library is unloaded).
#pragma once

#include "device/ipac_wrap.h"

namespace app {

device::CIPACWrap& ProcessDevice();

}  // namespace app
