// The settings files as the system's profile functions read them.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/temp_dir.h"
#include "wizard/copy_settings.h"
#include "wizard/finish_page_win32.h"
#include "wizard/profile_file_win32.h"
#include "wizard/program_location_win32.h"
#include "wizard/ui_texts.h"

namespace {

TEST(SettingsFileTest, ProfileFunctionsReadTheFileLikeTheRulesExpect) {
  testsupport::TempDir dir;
  const std::string ini = dir.path().string() + "\\Deckhand.ini";
  testsupport::WriteFile(ini,
                         "[COPY]\r\nFileNum=3\r\nFileName1=Pellmark.exe\r\nFileName2=first,second\r\n"
                         "FileName3=help.htm,,2\r\nPATH=\\PLMRK\r\nTARGET=2\r\n"
                         "[DEVICE]\r\nNAME=\"QUINTAD2\"\r\nOTHER=\r\n"
                         "[DIALOG_TEXT]\r\nMAIN_TITLE=\r\nBUTTON_NEXT=Weiter\r\nFONT_CHAR_SET=128\r\n"
                         "[MESSAGE]\r\nMSG_NEED_ADMIN=\r\n");
  const std::string folder = dir.path().string() + "\\";
  for (const char* name : {"Pellmark.exe", "first", "help.htm"}) testsupport::WriteFile(folder + name, "x");

  wizard::ProfileFile file(ini);
  wizard::CopySettings settings;
  EXPECT_EQ(
      wizard::LoadCopySettings(
          file, folder,
          [](const std::string& p) { return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; },
          settings),
      hr::kOk);
  EXPECT_EQ(settings.files, (std::vector<std::string>{"Pellmark.exe", "first,second", "help.htm,,2"}));
  EXPECT_EQ(settings.path, "\\PLMRK\\");
  EXPECT_EQ(settings.deviceValues, std::vector<std::string>{"QUINTAD2"});

  const wizard::UiTexts texts = wizard::LoadUiTexts(file);
  EXPECT_EQ(texts.title, "Pellmark Update");
  EXPECT_EQ(texts.next, "Weiter");
  EXPECT_EQ(texts.needAdmin, "");
  EXPECT_EQ(texts.unsupportedOs, "Need Windows XP or Windows 2000.");
  EXPECT_EQ(texts.bodyFont.charSet, 128);
  EXPECT_EQ(texts.bodyFont.height, 10);
  EXPECT_EQ(texts.target, 2);
}

// The settings shipped beside Deckhand.exe copy the delivery of the track
// manager that the build puts in the same folder: every listed file must
// exist there, or the wizard refuses to start.
TEST(SettingsFileTest, TheShippedSettingsCopyTheDeliveryBesideThePrograms) {
  const std::string module = wizard::ModulePath();
  const std::string folder = module.substr(0, module.find_last_of('\\') + 1);
  wizard::ProfileFile file(folder + "Deckhand.ini");
  wizard::CopySettings settings;
  ASSERT_EQ(
      wizard::LoadCopySettings(
          file, folder,
          [](const std::string& p) { return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; },
          settings),
      hr::kOk);
  EXPECT_EQ(settings.files,
            (std::vector<std::string>{"Pellmark.exe", "Mtbl.dll", "help.htm", "version.txt"}));
  EXPECT_EQ(settings.path, "\\PLMRK\\");
  EXPECT_EQ(settings.deviceValues, std::vector<std::string>{"QUINTAD2"});
  const wizard::UiTexts texts = wizard::LoadUiTexts(file);
  EXPECT_EQ(texts.title, "Pellmark Update");
  EXPECT_EQ(texts.target, 0);
}

TEST(SettingsFileTest, AMissingFileOrPathGivesTheDefaults) {
  testsupport::TempDir dir;
  wizard::ProfileFile missing(dir.path().string() + "\\none.ini");
  EXPECT_EQ(missing.readInt("COPY", "FileNum", 2), 2);
  EXPECT_EQ(missing.readText("COPY", "FileName1", "", 256), "");
  wizard::ProfileFile unnamed("");
  EXPECT_EQ(unnamed.readText("MESSAGE", "MSG_NEED_ADMIN", "Need logon by Administrator.", 1020),
            "Need logon by Administrator.");
  size_t returned = 99;
  unnamed.readSection("DEVICE", 4096, returned);
  EXPECT_EQ(returned, 0u);
}

TEST(SettingsFileTest, ASectionTooBigForItsBufferIsReportedAsTheSystemDoes) {
  testsupport::TempDir dir;
  const std::string ini = dir.path().string() + "\\big.ini";
  std::string text = "[DEVICE]\r\n";
  for (int i = 0; i < 500; ++i) text += "KEY" + std::to_string(i) + "=VALUE\r\n";
  testsupport::WriteFile(ini, text);
  wizard::ProfileFile file(ini);
  size_t returned = 0;
  const std::string buffer = file.readSection("DEVICE", 4096, returned);
  EXPECT_EQ(returned, 4094u);
  EXPECT_TRUE(wizard::ParseDeviceSection(buffer, returned).empty());
}

TEST(SettingsFileTest, TheTextFileIsNamedAfterTheProgram) {
  EXPECT_EQ(wizard::TextSettingsPath("C:\\Tools\\Deckhand.exe"), "C:\\Tools\\Deckhand.ini");
  EXPECT_EQ(wizard::TextSettingsPath("C:\\v1.2\\Deckhand"), "C:\\v1.2\\Deckhand.ini");
  EXPECT_EQ(wizard::TextSettingsPath(""), "");
  const std::string module = wizard::ModulePath();
  ASSERT_FALSE(module.empty());
  EXPECT_TRUE(module.ends_with(".exe"));
}

TEST(SettingsFileTest, TheProgramFolderBecomesTheCurrentDirectory) {
  char before[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, before);
  testsupport::TempDir dir;
  const std::string folder = dir.path().string();
  const auto entered = wizard::EnterProgramFolder(folder + "\\Deckhand.exe");
  ASSERT_TRUE(entered.has_value());
  char now[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_EQ(*entered, std::string(now) + "\\");
  EXPECT_EQ(wizard::EnterProgramFolder(folder + "\\missing\\Deckhand.exe"), std::nullopt);
  EXPECT_EQ(wizard::EnterProgramFolder("Deckhand.exe"), std::nullopt);
  ::SetCurrentDirectoryA(before);
}

TEST(SystemMessageTest, TheSystemsTextForTheResult) {
  const std::string denied = wizard::SystemMessageText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  EXPECT_NE(denied.back(), '\n');
  EXPECT_NE(denied, "Error 0x00000005");
  // Not every system has a text for E_ABORT (this Wine has none); the page
  // then names the code.
  const std::string aborted = wizard::SystemMessageText(hr::kAbort);
  EXPECT_TRUE(aborted == "Error 0x80004004" || aborted.find("bort") != std::string::npos) << aborted;
  EXPECT_EQ(wizard::SystemMessageText(static_cast<HRESULT>(0x2BADF00D)), "Error 0x2BADF00D");
}

}  // namespace
