#include "winui/message_text.h"

#include <gtest/gtest.h>

#include "app/message_ids.h"
#include "platform/system.h"
#include "win32/unique_module.h"

namespace {

// The message module built beside the tests, as Pellmark.exe finds it.
class MessageTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryW((sys::ProgramFolder() / "Mtbl.dll").c_str()));
    ASSERT_TRUE(module_) << "Mtbl.dll beside the test program";
    winui::SetMessageModule(module_.get());
  }
  void TearDown() override { winui::SetMessageModule(nullptr); }
  win::UniqueModule module_;
};

TEST_F(MessageTextTest, TextsComeWithoutTheirLineBreakAndKeepTheirSpaces) {
  EXPECT_EQ(winui::MessageText(msg::kAppTitle), L"Pellmark");
  EXPECT_EQ(winui::MessageText(msg::kAlreadyRunning), L"Pellmark is already running.");
  // The text after the lock holders' names starts with its own blank.
  std::wstring lockedOut = winui::MessageText(msg::kLockedOut);
  ASSERT_FALSE(lockedOut.empty());
  EXPECT_EQ(lockedOut.front(), L' ');
  EXPECT_NE(lockedOut.back(), L'\n');
  EXPECT_EQ(winui::MessageText(msg::kOutOfSpaceBefore).back(), L' ');
}

TEST_F(MessageTextTest, EveryTextTheShellUsesExists) {
  for (unsigned id : {msg::kAppTitle, msg::kCloseButton, msg::kAboutMenuItem, msg::kHelpTitle,
                      msg::kHelpAtStartCheckBox, msg::kHelpNotShownHere, msg::kAboutVersionLine,
                      msg::kAboutSecondLine, msg::kOkButton, msg::kCancelButton, msg::kCollectingFiles,
                      msg::kCancelling, msg::kHelpHint, msg::kAlreadyRunning, msg::kLockedOut})
    EXPECT_FALSE(winui::MessageText(id).empty()) << id;
}

TEST_F(MessageTextTest, UnknownNumbersAndAMissingModuleGiveEmptyTexts) {
  constexpr DWORD kNoSuchMessage = 4095, kZero = 0;
  EXPECT_EQ(winui::MessageText(kNoSuchMessage), L"");
  EXPECT_EQ(winui::MessageText(kZero), L"");
  winui::SetMessageModule(nullptr);
  EXPECT_EQ(winui::MessageText(msg::kAppTitle), L"");
}

TEST_F(MessageTextTest, OnlyTheProgramsLanguageIsAsked) {
  // The texts are stored for 0x0411 only; another language finds nothing.
  wchar_t* raw = nullptr;
  DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
      module_.get(), msg::kAppTitle, 0x0409, reinterpret_cast<LPWSTR>(&raw), 0, nullptr);
  if (raw) ::LocalFree(raw);
  EXPECT_EQ(n, 0u);
}

}  // namespace
