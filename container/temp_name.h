// Names for temporary files: the folder followed by "temp" and six characters
// chosen so that no file of that name exists in the folder yet.
#pragma once

#include "platform/system.h"

namespace container {

// False when no free name was found (the folder is full of candidates or
// cannot be examined).
bool MakeTempFileName(const sys::Path& folder, sys::Path& out);

}  // namespace container
