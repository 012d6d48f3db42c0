// The About box and the help window, opened in this process from the
// program's own templates (the resource script is linked into this test).
#include <gtest/gtest.h>

#include <optional>

#include "app/about_dlg.h"
#include "app/about_dlg_res.h"
#include "app/help_command.h"
#include "app/help_dlg.h"
#include "app/help_dlg_res.h"
#include "app/help_setting_store.h"
#include "app/help_settings.h"
#include "app/message_ids.h"
#include "platform/system.h"
#include "tests/app/message_pump.h"
#include "win32/unique_module.h"
#include "winui/message_text.h"
#include "winui/ole_session.h"

namespace {

using winui::MessageText;

class ShellDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryW((sys::ProgramFolder() / "Mtbl.dll").c_str()));
    winui::SetMessageModule(module_.get());
    saved_ = app::ReadHelpSetting();
  }
  void TearDown() override {
    winui::SetMessageModule(nullptr);
    app::WriteHelpSetting(saved_ ? *saved_ : app::kHelpAtStartup);
  }
  win::UniqueModule module_;
  winui::OleSession ole_;
  std::optional<uint32_t> saved_;
};

TEST_F(ShellDialogsTest, AboutBoxTexts) {
  app::CAboutDlg about;
  ASSERT_TRUE(about.Create());
  EXPECT_EQ(about.title(), MessageText(msg::kAppTitle));
  EXPECT_EQ(about.itemText(IDC_ABOUT_VERSION_LINE), MessageText(msg::kAboutVersionLine));
  EXPECT_EQ(about.itemText(IDC_ABOUT_SECOND_LINE), MessageText(msg::kAboutSecondLine));
  EXPECT_EQ(about.itemText(IDOK), L"OK");
  about.Destroy();
}

TEST_F(ShellDialogsTest, HelpWindowWithoutAnHtmlEngineShowsThePageAsTextAndWhereItIs) {
  app::CHelpDlg help(true);
  ASSERT_TRUE(help.Create());
  EXPECT_EQ(help.title(), L"Pellmark Help");
  EXPECT_EQ(help.itemText(IDCANCEL), MessageText(msg::kCloseButton));
  EXPECT_EQ(help.itemText(IDC_HELP_AT_STARTUP), MessageText(msg::kHelpAtStartCheckBox));
  EXPECT_TRUE(help.isItemChecked(IDC_HELP_AT_STARTUP));
  // Wine here has no HTML engine: the window changes to its text view.
  ASSERT_TRUE(testsupport::PumpUntil([&] { return help.showsPlainText(); }, 5000));
  std::wstring text = help.itemText(IDC_HELP_FALLBACK);
  const std::wstring file = app::HelpFilePath(sys::ProgramPath().wstring());
  EXPECT_EQ(text.rfind(MessageText(msg::kHelpNotShownHere) + L"\r\n" + file + L"\r\n\r\n", 0), 0u)
      << text.substr(0, 300);
  EXPECT_NE(text.find(L"999"), std::wstring::npos);  // from the page itself
  // The window itself is not shown (a modeless test window), so the
  // controls' own visible styles are what counts.
  EXPECT_TRUE(::GetWindowLongPtrW(help.item(IDC_HELP_FALLBACK), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(::GetWindowLongPtrW(help.item(IDC_HELP_BROWSER), GWL_STYLE) & WS_VISIBLE);
  help.Destroy();
}

TEST_F(ShellDialogsTest, TheCheckBoxWritesZeroWhenTickedAndTenWhenNot) {
  app::WriteHelpSetting(0);
  app::CHelpDlg help(app::OpensHelpAtStartup(app::ReadHelpSetting()));
  ASSERT_TRUE(help.Create());
  ASSERT_TRUE(help.isItemChecked(IDC_HELP_AT_STARTUP));
  ::SendMessageW(help.item(IDC_HELP_AT_STARTUP), BM_CLICK, 0, 0);
  EXPECT_EQ(app::ReadHelpSetting(), std::optional<uint32_t>(10));
  ::SendMessageW(help.item(IDC_HELP_AT_STARTUP), BM_CLICK, 0, 0);
  EXPECT_EQ(app::ReadHelpSetting(), std::optional<uint32_t>(0));
  help.Destroy();

  app::CHelpDlg closed(false);
  ASSERT_TRUE(closed.Create());
  EXPECT_FALSE(closed.isItemChecked(IDC_HELP_AT_STARTUP));
  closed.Destroy();
}

VOID CALLBACK WhileHelpIsOpen(HWND, UINT, UINT_PTR id, DWORD);
bool g_secondOpened = true;
bool g_wasOpen = false;

VOID CALLBACK WhileHelpIsOpen(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  g_wasOpen = app::IsHelpOpen();
  // The help command again, as F1 would give it: nothing opens.
  g_secondOpened = app::ShowHelp(nullptr);
  if (HWND help = ::FindWindowW(L"#32770", L"Pellmark Help")) ::PostMessageW(help, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(ShellDialogsTest, OneHelpWindowAtATime) {
  EXPECT_FALSE(app::IsHelpOpen());
  ::SetTimer(nullptr, 0, 300, &WhileHelpIsOpen);
  EXPECT_TRUE(app::ShowHelp(nullptr));
  EXPECT_TRUE(g_wasOpen);
  EXPECT_FALSE(g_secondOpened);
  EXPECT_FALSE(app::IsHelpOpen());
}

TEST_F(ShellDialogsTest, SettingRoundTrip) {
  ASSERT_TRUE(app::WriteHelpSetting(10));
  EXPECT_EQ(app::ReadHelpSetting(), std::optional<uint32_t>(10));
  EXPECT_FALSE(app::OpensHelpAtStartup(app::ReadHelpSetting()));
  ASSERT_TRUE(app::WriteHelpSetting(0));
  EXPECT_TRUE(app::OpensHelpAtStartup(app::ReadHelpSetting()));
}

}  // namespace
