// Which player folder the tool works on: --player FOLDER when given, else
// the folder the device-access library beside the tool would use.
#pragma once

#include "platform/system.h"

namespace playertool {

sys::Path PlayerFolder(const sys::Path& given);

}  // namespace playertool
