#include "mp3/tag_code_page.h"

#include <atomic>

#include "common/debug_log.h"
#include "mp3/system_language.h"

namespace mp3 {

namespace {

std::atomic<uint32_t> g_tagCodePage{kWesternCodePage};

constexpr uint16_t PrimaryLanguage(uint16_t languageId) { return languageId & 0x3FF; }
constexpr uint16_t SubLanguage(uint16_t languageId) { return languageId >> 10; }

// Chinese sublanguages: 1 Taiwan, 2 PRC, 3 Hong Kong, 4 Singapore, 5 Macao.
// Traditional script (950) for 1, 3 and 5, simplified (936) for 2 and 4.
// The neutral sublanguage 0 stands for simplified Chinese and 0x1F for
// traditional Chinese; any other value gets the simplified page, the one
// most Chinese tag writers used.
uint32_t ChineseCodePage(uint16_t subLanguage) {
  switch (subLanguage) {
    case 1:
    case 3:
    case 5:
    case 0x1F:
      return 950;
    default:
      return 936;
  }
}

}  // namespace

uint32_t TagCodePageFor(uint16_t languageId) {
  switch (PrimaryLanguage(languageId)) {
    case kLangChinese:
      return ChineseCodePage(SubLanguage(languageId));
    case kLangJapanese:
      return 932;
    case kLangKorean:
      return 949;
    default:
      return kWesternCodePage;
  }
}

uint32_t SelectTagCodePage(uint16_t languageId) {
  const uint32_t codePage = TagCodePageFor(languageId);
  switch (PrimaryLanguage(languageId)) {
    case kLangChinese:
      DebugLog("LANG_CHINESE.\n");
      break;
    case kLangJapanese:
      DebugLog("LANG_JAPANESE.\n");
      break;
    case kLangKorean:
      DebugLog("LANG_KOREAN.\n");
      break;
    default:
      break;
  }
  g_tagCodePage.store(codePage);
  return codePage;
}

uint32_t SelectTagCodePageFromSystem() { return SelectTagCodePage(SystemDefaultLanguageId()); }

uint32_t TagCodePage() { return g_tagCodePage.load(); }

}  // namespace mp3
