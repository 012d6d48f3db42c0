#include <gtest/gtest.h>

#include <set>

#include "tests/wizard/fake_profile.h"
#include "wizard/copy_entry.h"
#include "wizard/copy_settings.h"
#include "wizard/ui_texts.h"

namespace {

using wizard::CopySettings;
using wizardtest::FakeProfile;

constexpr char kFolder[] = "C:\\Delivery\\";

struct Load {
  HRESULT result;
  CopySettings settings;
  std::vector<std::string> asked;  // paths fileExists was asked about
};

Load LoadWith(FakeProfile& file, std::set<std::string> present) {
  Load l;
  l.result = wizard::LoadCopySettings(
      file, kFolder,
      [&](const std::string& path) {
        l.asked.push_back(path);
        return present.count(path) != 0;
      },
      l.settings);
  return l;
}

TEST(CopySettingsTest, WithoutAFileTwoEmptyLinesMakeTheLoadFail) {
  FakeProfile none;
  Load l = LoadWith(none, {});
  EXPECT_EQ(l.result, hr::kFail);
  EXPECT_EQ(l.settings.files, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(l.settings.path, "\\");
  EXPECT_TRUE(l.asked.empty());  // an empty line fails before any file is looked for
}

TEST(CopySettingsTest, FileCountZeroGivesAnEmptyListThatLoads) {
  FakeProfile file;
  file.set("COPY", "FileNum", "0");
  file.set("COPY", "FileName1", "ignored.exe");
  Load l = LoadWith(file, {});
  EXPECT_EQ(l.result, hr::kOk);
  EXPECT_TRUE(l.settings.files.empty());
  EXPECT_EQ(l.settings.programFolder, kFolder);
}

TEST(CopySettingsTest, PathGetsExactlyOneTrailingBackslash) {
  for (const char* path : {"\\PLMRK", "\\PLMRK\\"}) {
    FakeProfile file;
    file.set("COPY", "FileNum", "0");
    file.set("COPY", "PATH", path);
    EXPECT_EQ(LoadWith(file, {}).settings.path, "\\PLMRK\\") << path;
  }
  EXPECT_EQ(wizard::WithTrailingBackslash(""), "\\");
}

TEST(CopySettingsTest, EveryListedSourceMustBeInTheProgramFolder) {
  FakeProfile file;
  file.set("COPY", "FileNum", "3");
  file.set("COPY", "FileName1", "Pellmark.exe");
  file.set("COPY", "FileName2", "first,second");
  file.set("COPY", "FileName3", "help.htm,,2");
  Load ok = LoadWith(file, {"C:\\Delivery\\Pellmark.exe", "C:\\Delivery\\first", "C:\\Delivery\\help.htm"});
  EXPECT_EQ(ok.result, hr::kOk);
  EXPECT_EQ(ok.settings.files, (std::vector<std::string>{"Pellmark.exe", "first,second", "help.htm,,2"}));
  // Only field 1 names the source.
  EXPECT_EQ(ok.asked, (std::vector<std::string>{"C:\\Delivery\\Pellmark.exe", "C:\\Delivery\\first",
                                                "C:\\Delivery\\help.htm"}));

  Load missing = LoadWith(file, {"C:\\Delivery\\Pellmark.exe", "C:\\Delivery\\help.htm"});
  EXPECT_EQ(missing.result, hr::kFail);
  EXPECT_EQ(missing.asked.size(), 2u);  // the first failure ends the check
}

TEST(CopySettingsTest, ALineWithoutASourceNameIsRefused) {
  FakeProfile file;
  file.set("COPY", "FileNum", "1");
  file.set("COPY", "FileName1", ",renamed.exe");
  EXPECT_EQ(LoadWith(file, {"C:\\Delivery\\"}).result, hr::kFail);
}

// A settings file whose FileNum is count and whose every FileName key
// names the same present file; it counts the FileName reads.
class ManyLines final : public wizard::ProfileReader {
 public:
  explicit ManyLines(int count) : m_count(count) {}
  int fileNameReads = 0;

  std::string readText(const std::string&, const std::string& key, const std::string& fallback,
                       size_t) override {
    if (key.rfind("FileName", 0) != 0) return fallback;
    ++fileNameReads;
    return "a.exe";
  }
  int readInt(const std::string&, const std::string& key, int fallback) override {
    return key == "FileNum" ? m_count : fallback;
  }
  std::string readSection(const std::string&, size_t, size_t& returned) override {
    returned = 0;
    return std::string(2, '\0');
  }

 private:
  int m_count;
};

TEST(CopySettingsTest, TheListHoldsAtMost4096LinesAndALongerOneIsNotRead) {
  CopySettings settings;
  auto present = [](const std::string&) { return true; };
  ManyLines most(4096);
  EXPECT_EQ(wizard::LoadCopySettings(most, kFolder, present, settings), hr::kOk);
  EXPECT_EQ(settings.files.size(), 4096u);

  for (const int count : {4097, 2147483647}) {
    ManyLines tooMany(count);
    ASSERT_EQ(wizard::LoadCopySettings(tooMany, kFolder, present, settings), hr::kFail) << count;
    EXPECT_EQ(tooMany.fileNameReads, 0) << count;
    EXPECT_TRUE(settings.files.empty());
  }
}

TEST(DeviceSectionTest, ValuesLoseOneQuoteAtEachEndAndEmptyOnesAreDropped) {
  FakeProfile file;
  file.set("COPY", "FileNum", "0");
  file.set("DEVICE", "NAME", "\"QUINTAD2\"");
  file.set("DEVICE", "PLAIN", "abc=def");
  file.set("DEVICE", "EMPTY", "");
  file.set("DEVICE", "QUOTES", "\"\"");
  file.set("DEVICE", "DOUBLE", "\"\"x\"\"");
  file.set("DEVICE", "OPEN", "\"half");
  Load l = LoadWith(file, {});
  EXPECT_EQ(l.settings.deviceValues, (std::vector<std::string>{"QUINTAD2", "abc=def", "\"x\"", "half"}));
}

TEST(DeviceSectionTest, LinesWithoutAnEqualsSignAreSkipped) {
  const std::string buffer = std::string("nothing\0k=v\0=w\0", 16) + '\0';
  EXPECT_EQ(wizard::ParseDeviceSection(buffer, 15), (std::vector<std::string>{"v", "w"}));
}

TEST(DeviceSectionTest, ASectionTooBigForItsBufferIsIgnored) {
  FakeProfile file;
  file.set("COPY", "FileNum", "0");
  for (int i = 0; i < 400; ++i) file.set("DEVICE", "K" + std::to_string(i), "VALUE");
  EXPECT_TRUE(LoadWith(file, {}).settings.deviceValues.empty());

  // One that just fits is read.
  FakeProfile fits;
  fits.set("COPY", "FileNum", "0");
  fits.set("DEVICE", "K", std::string(4092, 'v'));  // "K=" + 4092 + zero = 4095 characters
  Load l = LoadWith(fits, {});
  ASSERT_EQ(l.settings.deviceValues.size(), 1u);
  EXPECT_EQ(l.settings.deviceValues[0].size(), 4092u);
}

TEST(CopyEntryTest, FieldsAndFilters) {
  auto e = wizard::ParseCopyEntry("first,second");
  EXPECT_EQ(e.source, "first");
  EXPECT_EQ(e.target, "second");
  EXPECT_EQ(e.filter, 0);

  e = wizard::ParseCopyEntry("first,");
  EXPECT_EQ(e.source, "first");
  EXPECT_EQ(e.target, "first");

  e = wizard::ParseCopyEntry("name,,2");
  EXPECT_EQ(e.target, "name");
  EXPECT_EQ(e.filter, 2);

  e = wizard::ParseCopyEntry("a,b,1,whatever,else");
  EXPECT_EQ(e.target, "b");
  EXPECT_EQ(e.filter, 1);

  EXPECT_EQ(wizard::ParseCopyEntry("a,b, 2x").filter, 2);
  EXPECT_EQ(wizard::ParseCopyEntry("a,b,x").filter, 0);
}

TEST(CopyEntryTest, FiltersAgainstTheSystemValue) {
  EXPECT_EQ(wizard::SystemValueFor(3), 1);
  EXPECT_EQ(wizard::SystemValueFor(4), 1);
  EXPECT_EQ(wizard::SystemValueFor(5), std::nullopt);
  EXPECT_EQ(wizard::SystemValueFor(6), 2);
  EXPECT_EQ(wizard::SystemValueFor(7), 2);
  EXPECT_EQ(wizard::SystemValueFor(2), 2);

  const auto only9x = wizard::ParseCopyEntry("a,,1");
  const auto onlyNt = wizard::ParseCopyEntry("a,,2");
  const auto always = wizard::ParseCopyEntry("a,,3");
  EXPECT_TRUE(wizard::IsPassedOver(only9x, 2));
  EXPECT_FALSE(wizard::IsPassedOver(only9x, 1));
  EXPECT_FALSE(wizard::IsPassedOver(onlyNt, 2));
  EXPECT_TRUE(wizard::IsPassedOver(onlyNt, std::nullopt));
  EXPECT_TRUE(wizard::IsPassedOver(only9x, std::nullopt));
  EXPECT_FALSE(wizard::IsPassedOver(always, std::nullopt));
  EXPECT_FALSE(wizard::IsPassedOver(always, 1));
}

TEST(UiTextsTest, MissingFileGivesTheBuiltInTextsAndFonts) {
  FakeProfile none;
  const wizard::UiTexts t = wizard::LoadUiTexts(none);
  EXPECT_EQ(t.title, "Pellmark Update");
  EXPECT_EQ(t.next, "Next");
  EXPECT_EQ(t.back, "Prev");
  EXPECT_EQ(t.exit, "Exit");
  EXPECT_EQ(t.cancel, "Cancel");
  EXPECT_EQ(t.done, "Done");
  EXPECT_EQ(t.finish, "Finish");
  EXPECT_EQ(t.refresh, "");
  EXPECT_EQ(t.toDriveSelection, "");
  EXPECT_EQ(t.bodyFont.height, 10);
  EXPECT_EQ(t.titleFont.height, 14);
  EXPECT_EQ(t.bodyFont.charSet, 10);
  EXPECT_EQ(t.titleFont.charSet, 10);
  EXPECT_EQ(t.bodyFont.face, "");
  EXPECT_EQ(t.unsupportedOs, "Need Windows XP or Windows 2000.");
  EXPECT_EQ(t.unsupportedOs2, "Need Windows 98 or Windows Me.");
  EXPECT_EQ(t.needAdmin, "Need logon by Administrator.");
  EXPECT_EQ(t.abortQuestion, "Will you cancel to copy ?");
  EXPECT_EQ(t.target, 0);
}

TEST(UiTextsTest, EmptyValuesFallBackOnlyForTheSevenButtonAndTitleTexts) {
  FakeProfile file;
  for (const char* key : {"MAIN_TITLE", "BUTTON_NEXT", "BUTTON_BACK", "BUTTON_EXIT", "BUTTON_CANCEL",
                          "BUTTON_DONE", "BUTTON_FINISH", "DLG_CAP_WELCOME"})
    file.set("DIALOG_TEXT", key, "");
  file.set("MESSAGE", "MSG_NEED_ADMIN", "");
  file.set("MESSAGE", "MSG_ABORT_CHECK", "Stop now?");
  const wizard::UiTexts t = wizard::LoadUiTexts(file);
  EXPECT_EQ(t.title, "Pellmark Update");
  EXPECT_EQ(t.finish, "Finish");
  EXPECT_EQ(t.welcome.caption, "");  // the page shows its template title
  EXPECT_EQ(t.needAdmin, "");        // present but empty: shown empty
  EXPECT_EQ(t.abortQuestion, "Stop now?");
}

TEST(UiTextsTest, FontSizeAndCharacterSet) {
  FakeProfile file;
  file.set("DIALOG_TEXT", "FONT_SIZE", "12");
  file.set("DIALOG_TEXT", "FONT_CHAR_SET", "384");  // 0x180: only the low 8 bits count
  file.set("DIALOG_TEXT", "FONT_NAME", "Tahoma");
  file.set("COPY", "TARGET", "2");
  const wizard::UiTexts t = wizard::LoadUiTexts(file);
  EXPECT_EQ(t.bodyFont.height, 12);
  EXPECT_EQ(t.titleFont.height, 16);
  EXPECT_EQ(t.bodyFont.charSet, 0x80);
  EXPECT_EQ(t.titleFont.face, "Tahoma");
  EXPECT_EQ(t.target, 2);
}

}  // namespace
