// The system's default language as a Windows language identifier (primary
// language in the low 10 bits, sublanguage above). Windows asks the system;
// the POSIX build derives it from the locale environment, so that a native
// run under a Japanese, Chinese or Korean locale picks the same tag code page
// as Windows would.
#pragma once

#include <cstdint>
#include <string>

namespace mp3 {

uint16_t SystemDefaultLanguageId();

// The language identifier for a POSIX locale name such as "ja_JP.UTF-8" or
// "zh_TW"; US English (0x0409) for names it does not know.
uint16_t LanguageIdFromLocaleName(const std::string& locale);

}  // namespace mp3
