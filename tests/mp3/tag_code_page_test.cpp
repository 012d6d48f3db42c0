#include "mp3/tag_code_page.h"

#include <gtest/gtest.h>

#include "app/debug_log.h"
#include "mp3/system_language.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(TagCodePage, ChosenFromLanguageAndSublanguage) {
  const std::pair<uint16_t, uint32_t> cases[] = {
      {0x0404, 950}, {0x0C04, 950}, {0x1404, 950},  {0x7C04, 950},  // Taiwan, Hong Kong, Macao, traditional
      {0x0804, 936}, {0x1004, 936}, {0x0004, 936},                  // PRC, Singapore, simplified
      {0x0411, 932}, {0x0412, 949}, {0x0409, 1252}, {0x0407, 1252}, {0x0419, 1252},
  };
  for (const auto& [language, codePage] : cases)
    EXPECT_EQ(mp3::TagCodePageFor(language), codePage) << language;
}

TEST(TagCodePage, SelectionIsLoggedForTheEastAsianPages) {
  testsupport::TempDir dir;
  debuglog::Configure(dir.path(), testsupport::UniqueName("pm-mp3-cp"), dir.path());
  StartLog();
  EXPECT_EQ(mp3::SelectTagCodePage(0x0411), 932u);
  EXPECT_EQ(mp3::TagCodePage(), 932u);
  EXPECT_EQ(mp3::SelectTagCodePage(0x0409), 1252u);
  EXPECT_EQ(mp3::SelectTagCodePage(0x0C04), 950u);
  EXPECT_EQ(mp3::SelectTagCodePage(0x0412), 949u);
  EXPECT_EQ(mp3::SelectTagCodePage(0x0407), 1252u);
  EXPECT_EQ(mp3::TagCodePage(), 1252u);
  debuglog::Flush();
  const std::string log = testsupport::ReadText(debuglog::LogPath());
  debuglog::Configure({}, {}, {});
  const size_t japanese = log.find("LANG_JAPANESE.");
  const size_t chinese = log.find("LANG_CHINESE.");
  const size_t korean = log.find("LANG_KOREAN.");
  ASSERT_NE(japanese, std::string::npos);
  ASSERT_NE(chinese, std::string::npos);
  ASSERT_NE(korean, std::string::npos);
  EXPECT_LT(japanese, chinese);
  EXPECT_LT(chinese, korean);
  EXPECT_EQ(log.find("LANG_", korean + 1), std::string::npos);  // no line for the Western page
}

TEST(SystemLanguage, LocaleNamesGiveWindowsLanguageIdentifiers) {
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("ja_JP.UTF-8"), 0x0411);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("ko_KR.eucKR"), 0x0412);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("zh_TW.Big5"), 0x0404);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("zh_HK"), 0x0C04);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("zh_CN.GB2312"), 0x0804);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("zh"), 0x0804);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("de_DE@euro"), 0x0409);
  EXPECT_EQ(mp3::LanguageIdFromLocaleName("C"), 0x0409);
}

}  // namespace
