#include <cstdlib>

#include "mp3/system_language.h"

namespace mp3 {

uint16_t SystemDefaultLanguageId() {
  // The variables in the order the C library consults them for text.
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return LanguageIdFromLocaleName(value);
  }
  return LanguageIdFromLocaleName("");
}

}  // namespace mp3
