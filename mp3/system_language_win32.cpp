#include <windows.h>

#include "mp3/system_language.h"

namespace mp3 {

uint16_t SystemDefaultLanguageId() { return ::GetSystemDefaultLangID(); }

}  // namespace mp3
