#include "mp3/tag_text_conversion.h"

#include "platform/codepage.h"

namespace mp3 {

std::string NarrowText(uint32_t codePage, const std::u16string& text) {
  std::string out;
  if (!sys::FromUtf16(codePage, text, out, kMaxNarrowTextBytes, ' ')) out.clear();
  return out;
}

std::u16string WideText(uint32_t codePage, const std::string& text) {
  std::u16string out;
  if (!sys::ToUtf16(codePage, text, out, kMaxWideTextUnits)) out.clear();
  return out;
}

bool HasNonBlank(const std::string& text) { return text.find_first_not_of(' ') != std::string::npos; }

}  // namespace mp3
