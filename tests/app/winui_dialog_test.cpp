#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/app/dialog_template.h"
#include "tests/app/message_pump.h"
#include "winui/application.h"
#include "winui/dialog.h"
#include "winui/error_report.h"
#include "winui/registered_message.h"

namespace {

using testsupport::DialogTemplate;

std::vector<std::string> g_reports;
void RecordReport(const char* where, const char* what) {
  g_reports.push_back(std::string(where) + ": " + what);
}

class TestApp final : public winui::CApplication {
 public:
  int helpRequests = 0;
  HWND helpFrom = nullptr;
  void OnHelp(HWND from) override {
    ++helpRequests;
    helpFrom = from;
  }

 protected:
  bool InitInstance() override { return false; }
};

DialogTemplate OneButton() {
  DialogTemplate t(L"winui test", 120, 60);
  t.button(IDOK, L"OK", 10, 30).button(100, L"Other", 65, 30);
  return t;
}

// A dialog whose behaviour each test sets through callbacks.
class ScriptedDialog : public winui::CDialog {
 public:
  explicit ScriptedDialog(const DLGTEMPLATE* t) : CDialog(t) {}
  std::function<bool(ScriptedDialog&)> onInit = [](ScriptedDialog&) { return true; };
  std::function<void(ScriptedDialog&, UINT_PTR)> onTimer = [](ScriptedDialog&, UINT_PTR) {};
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage = [](UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
  };
  std::vector<std::string> calls;
  CDialog* seenAtInit = nullptr;

 protected:
  bool OnInitDialog() override {
    seenAtInit = FromHandle(hwnd());
    calls.push_back("init");
    return onInit(*this);
  }
  void OnTimer(UINT_PTR id) override {
    calls.push_back("timer " + std::to_string(id));
    onTimer(*this, id);
  }
  void OnOK() override {
    calls.push_back("ok");
    EndDialog(IDOK);
  }
  void OnCancel() override {
    calls.push_back("cancel");
    EndDialog(IDCANCEL);
  }
  void OnDestroy() override { calls.push_back("destroy"); }
  bool OnMessage(UINT m, WPARAM w, LPARAM l, LRESULT& r) override { return onMessage(m, w, l, r); }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_reports.clear();
    winui::SetErrorReporter(&RecordReport);
  }
  void TearDown() override { winui::SetErrorReporter(nullptr); }
  DialogTemplate tmpl = OneButton();
};

TEST_F(DialogTest, ModalDialogFindsItselfAtInitRunsTimersAndReturnsTheEndResult) {
  ScriptedDialog d(tmpl.get());
  HWND window = nullptr;
  d.onInit = [&](ScriptedDialog& self) {
    window = self.hwnd();
    self.setTimer(7, 10);
    return true;
  };
  int fired = 0;
  d.onTimer = [&](ScriptedDialog& self, UINT_PTR id) {
    if (++fired == 3) self.EndDialog(42);
  };
  EXPECT_EQ(d.DoModal(), 42);
  EXPECT_EQ(d.seenAtInit, &d);
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(d.calls, (std::vector<std::string>{"init", "timer 7", "timer 7", "timer 7", "destroy"}));
  EXPECT_EQ(d.hwnd(), nullptr);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(winui::CDialog::FromHandle(window), nullptr);
}

TEST_F(DialogTest, EndingDuringInitNeverShowsTheWindow) {
  ScriptedDialog d(tmpl.get());
  bool visibleAtInit = true;
  d.onInit = [&](ScriptedDialog& self) {
    visibleAtInit = ::IsWindowVisible(self.hwnd());
    self.EndDialog(5);
    return true;
  };
  EXPECT_EQ(d.DoModal(), 5);
  EXPECT_FALSE(visibleAtInit);
}

TEST_F(DialogTest, AnExceptionInAHandlerIsReportedAndTheDialogCarriesOn) {
  ScriptedDialog d(tmpl.get());
  d.onInit = [](ScriptedDialog& self) {
    self.setTimer(1, 10);
    return true;
  };
  int fired = 0;
  d.onTimer = [&](ScriptedDialog& self, UINT_PTR) {
    if (++fired == 1) throw std::runtime_error("boom");
    self.EndDialog(3);
  };
  EXPECT_EQ(d.DoModal(), 3);
  EXPECT_EQ(g_reports, (std::vector<std::string>{"dialog procedure: boom"}));
}

TEST_F(DialogTest, AnExceptionDuringInitEndsTheDialogWithMinusOne) {
  ScriptedDialog d(tmpl.get());
  d.onInit = [](ScriptedDialog&) -> bool { throw 17; };
  EXPECT_EQ(d.DoModal(), -1);
  EXPECT_EQ(g_reports, (std::vector<std::string>{"dialog procedure: unknown exception"}));
  EXPECT_EQ(d.hwnd(), nullptr);
}

TEST_F(DialogTest, EscapeAndEnterReachOnCancelAndOnOk) {
  for (UINT key : {VK_ESCAPE, VK_RETURN}) {
    ScriptedDialog d(tmpl.get());
    d.onInit = [key](ScriptedDialog& self) {
      ::PostMessageW(self.item(IDOK), WM_KEYDOWN, key, 1);
      return true;
    };
    EXPECT_EQ(d.DoModal(), key == VK_ESCAPE ? IDCANCEL : IDOK);
    EXPECT_EQ(d.calls[1], key == VK_ESCAPE ? "cancel" : "ok");
  }
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheDialogRunsAndEnabledAfter) {
  DialogTemplate ownerTemplate(L"owner", 100, 50);
  ownerTemplate.button(300, L"child", 5, 5);
  ScriptedDialog owner(ownerTemplate.get());
  ASSERT_TRUE(owner.Create());
  ScriptedDialog d(tmpl.get());
  bool enabledDuring = true;
  d.onInit = [](ScriptedDialog& self) {
    self.setTimer(1, 10);
    return true;
  };
  d.onTimer = [&](ScriptedDialog& self, UINT_PTR) {
    enabledDuring = ::IsWindowEnabled(owner.hwnd());
    self.EndDialog(1);
  };
  // A control as owner stands for its top-level window.
  EXPECT_EQ(d.DoModal(owner.item(300)), 1);
  EXPECT_FALSE(enabledDuring);
  EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
  owner.Destroy();
  EXPECT_EQ(owner.hwnd(), nullptr);
}

TEST_F(DialogTest, QuitEndsTheLoopAndIsPostedAgainForTheOuterLoop) {
  ScriptedDialog d(tmpl.get());
  d.onInit = [](ScriptedDialog&) {
    ::PostQuitMessage(9);
    return true;
  };
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(DialogTest, TheMessageFilterSeesMessagesFirstAndItsResultReachesTheSender) {
  const winui::RegisteredMessage ask(L"winui-test-ask");
  ScriptedDialog d(tmpl.get());
  std::vector<UINT> commands;
  d.onMessage = [&](UINT m, WPARAM w, LPARAM, LRESULT& r) {
    if (ask.is(m)) {
      r = static_cast<LRESULT>(w * 2);
      return true;
    }
    if (m == WM_COMMAND && LOWORD(w) == IDOK) {
      commands.push_back(LOWORD(w));
      r = 0;
      return true;  // swallowed: OnOK never runs
    }
    return false;
  };
  ASSERT_TRUE(d.Create());
  EXPECT_EQ(d.send(ask.id(), 21), 42);
  d.send(WM_COMMAND, IDOK);
  EXPECT_EQ(commands, std::vector<UINT>{IDOK});
  EXPECT_EQ(d.calls, std::vector<std::string>{"init"});
  d.Destroy();
}

TEST_F(DialogTest, RegisteredMessagesAgreeByName) {
  const winui::RegisteredMessage a(L"winui-test-a"), again(L"winui-test-a"), b(L"winui-test-b");
  EXPECT_GE(a.id(), 0xC000u);
  EXPECT_EQ(a.id(), again.id());
  EXPECT_NE(a.id(), b.id());
  EXPECT_TRUE(a.is(again.id()));
  EXPECT_FALSE(a.is(b.id()));
  EXPECT_STREQ(a.name(), L"winui-test-a");
}

TEST_F(DialogTest, ControlHelpers) {
  DialogTemplate t(L"controls", 150, 80);
  t.add(0x0080, 200, L"check", 10, 10, 60, 12, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX)
      .add(0x0082, 201, L"label", 10, 30, 60, 10, WS_CHILD | WS_VISIBLE);
  ScriptedDialog d(t.get());
  ASSERT_TRUE(d.Create());
  d.setTitle(L"renamed \u6771");
  EXPECT_EQ(d.title(), L"renamed \u6771");
  d.setItemText(201, L"new text");
  EXPECT_EQ(d.itemText(201), L"new text");
  EXPECT_FALSE(d.isItemChecked(200));
  d.setItemChecked(200, true);
  EXPECT_TRUE(d.isItemChecked(200));
  d.enableItem(200, false);
  EXPECT_FALSE(::IsWindowEnabled(d.item(200)));
  d.showItem(201, false);
  EXPECT_FALSE(::IsWindowVisible(d.item(201)));
  RECT r = d.itemRect(200);
  RECT client{};
  ::GetClientRect(d.hwnd(), &client);
  EXPECT_GT(r.left, 0);
  EXPECT_LT(r.right, client.right);
  EXPECT_EQ(d.itemText(999), L"");
  d.Destroy();
}

TEST_F(DialogTest, HelpKeyWmHelpAndTheHelpCommandAllReachTheApplication) {
  TestApp app;
  ScriptedDialog d(tmpl.get());
  d.onInit = [](ScriptedDialog& self) {
    ::PostMessageW(self.item(100), WM_KEYDOWN, VK_F1, 1);
    ::PostMessageW(self.hwnd(), WM_COMMAND, winui::kHelpCommandId, 0);
    self.setTimer(1, 50);
    return true;
  };
  d.onTimer = [](ScriptedDialog& self, UINT_PTR) {
    HELPINFO info{};
    info.cbSize = sizeof(info);
    self.send(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    self.EndDialog(1);
  };
  EXPECT_EQ(d.DoModal(), 1);
  EXPECT_EQ(app.helpRequests, 3);
  EXPECT_TRUE(app.helpFrom != nullptr);
}

TEST_F(DialogTest, ModelessDialogsGetKeyboardNavigationFromTheApplication) {
  TestApp app;
  ScriptedDialog d(tmpl.get());
  ASSERT_TRUE(d.Create());
  ::ShowWindow(d.hwnd(), SW_SHOW);
  ::PostMessageW(d.item(IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
  // Esc becomes IDCANCEL, whose default ends (destroys) a modeless dialog.
  EXPECT_TRUE(testsupport::PumpUntil([&] { return d.hwnd() == nullptr; }));
  EXPECT_EQ(d.calls, (std::vector<std::string>{"init", "cancel", "destroy"}));
}

}  // namespace
