// The system default language, recorded once when the program's static
// objects are made, so every later reader (the tag code page, for one) sees
// the same value for the whole run.
#pragma once

#include <cstdint>

namespace app {

// The system default language identifier (primary language in the low ten
// bits, sublanguage above).
uint16_t SystemDefaultLanguage();

}  // namespace app
