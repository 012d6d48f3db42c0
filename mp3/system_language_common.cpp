#include <cctype>

#include "mp3/system_language.h"

namespace mp3 {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

uint16_t LanguageIdFromLocaleName(const std::string& locale) {
  constexpr uint16_t kUsEnglish = 0x0409;
  // "ll_CC.charset@modifier": only the language and the country matter.
  const std::string name = Lower(locale.substr(0, locale.find_first_of(".@")));
  const std::string language = name.substr(0, name.find('_'));
  const std::string country =
      name.find('_') == std::string::npos ? std::string() : name.substr(name.find('_') + 1);
  if (language == "ja") return 0x0411;
  if (language == "ko") return 0x0412;
  if (language == "zh") {
    if (country == "tw") return 0x0404;
    if (country == "hk") return 0x0C04;
    if (country == "sg") return 0x1004;
    if (country == "mo") return 0x1404;
    return 0x0804;  // PRC, and Chinese without a country
  }
  return kUsEnglish;
}

}  // namespace mp3
