#include "app/transfer_progress_dlg.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/message_ids.h"
#include "app/registered_messages.h"
#include "app/transfer_progress_dlg_res.h"
#include "platform/system.h"
#include "tests/app/dialog_template.h"
#include "tests/app/message_pump.h"
#include "win32/unique_module.h"
#include "winui/message_text.h"

namespace {

using winui::MessageText;

// Stands for the main window: counts the registered messages it is sent.
class FakeMainWindow final : public winui::CDialog {
 public:
  explicit FakeMainWindow(const DLGTEMPLATE* t) : CDialog(t) {}
  std::vector<UINT> received;

 protected:
  bool OnMessage(UINT m, WPARAM, LPARAM, LRESULT& result) override {
    if (app::messages::kTransferCancelled.is(m) || app::messages::kTransferCompleted.is(m)) {
      received.push_back(m);
      result = 0;
      return true;
    }
    return false;
  }
};

// The main window's stand-in: a "list" (control 50) to place the window over.
testsupport::DialogTemplate MainTemplate() {
  testsupport::DialogTemplate t(L"main", 300, 200, WS_POPUP | WS_CAPTION | WS_VISIBLE);
  t.add(0x0082, 50, L"list", 20, 20, 200, 120, WS_CHILD | WS_VISIBLE | WS_BORDER);
  return t;
}

class TransferProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryW((sys::ProgramFolder() / "Mtbl.dll").c_str()));
    winui::SetMessageModule(module_.get());
    ASSERT_TRUE(main_.Create());
    ASSERT_NE(main_.item(50), nullptr);
    ::SetWindowPos(main_.hwnd(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(progress_.Create());
    progress_.setMainWindow(main_.hwnd());
  }
  void TearDown() override {
    progress_.Destroy();
    main_.Destroy();
    winui::SetMessageModule(nullptr);
  }
  void pressButton() { ::SendMessageW(progress_.item(IDC_PROGRESS_BUTTON), BM_CLICK, 0, 0); }
  std::wstring text() const { return progress_.itemText(IDC_PROGRESS_TEXT); }
  std::wstring caption() const { return progress_.itemText(IDC_PROGRESS_BUTTON); }
  bool buttonEnabled() const { return ::IsWindowEnabled(progress_.item(IDC_PROGRESS_BUTTON)); }

  win::UniqueModule module_;
  app::TransferFlags flags_;
  testsupport::DialogTemplate mainTemplate_ = MainTemplate();
  FakeMainWindow main_{mainTemplate_.get()};
  app::CTransferProgressDlg progress_{flags_};
};

TEST_F(TransferProgressTest, StartsHiddenWithTheTitleAndACancelButton) {
  EXPECT_FALSE(progress_.isVisible());
  EXPECT_EQ(progress_.title(), L"Pellmark");
  EXPECT_EQ(text(), L"");
  EXPECT_EQ(caption(), MessageText(msg::kCancelButton));
  EXPECT_TRUE(buttonEnabled());
}

TEST_F(TransferProgressTest, ButtonStates) {
  progress_.SetButtonState(1);
  EXPECT_EQ(caption(), L"OK");
  EXPECT_TRUE(buttonEnabled());
  progress_.SetButtonState(8);
  EXPECT_EQ(caption(), L"Cancel");
  EXPECT_FALSE(buttonEnabled());
  progress_.SetButtonState(0);
  EXPECT_EQ(caption(), L"Cancel");
  EXPECT_TRUE(buttonEnabled());
}

TEST_F(TransferProgressTest, ShowingForATransferPlacesItOverTheListAndTakesTheMainWindow) {
  HWND list = main_.item(50);
  progress_.ShowForTransfer(list);
  EXPECT_TRUE(progress_.isVisible());
  EXPECT_FALSE(::IsWindowEnabled(main_.hwnd()));
  EXPECT_EQ(text(), MessageText(msg::kCollectingFiles));
  EXPECT_EQ(progress_.picture(), 1);
  EXPECT_NE(::SendMessageW(progress_.item(IDC_PROGRESS_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  RECT listRect{}, window{};
  ::GetWindowRect(list, &listRect);
  ::GetWindowRect(progress_.hwnd(), &window);
  EXPECT_EQ(window.top, listRect.top + 80);
  const int centre = (listRect.left + listRect.right) / 2;
  EXPECT_LE(std::abs((window.left + window.right) / 2 - centre), 1);

  progress_.DrawPicture(2);
  EXPECT_EQ(progress_.picture(), 2);
  progress_.SetButtonState(1);
  pressButton();  // the closing button hides and gives the main window back
  EXPECT_FALSE(progress_.isVisible());
  EXPECT_TRUE(::IsWindowEnabled(main_.hwnd()));
  EXPECT_TRUE(main_.received.empty());
}

TEST_F(TransferProgressTest, CancellingARunningTransferFreezesTheTextUntilTheNextOne) {
  progress_.ShowForTransfer(main_.item(50));
  flags_.busy = 1;
  progress_.SetProgressText(L"1 / 3  Album\nTitle\n20 %");
  pressButton();
  EXPECT_EQ(flags_.cancel.load(), 1);
  EXPECT_FALSE(buttonEnabled());
  EXPECT_EQ(text(), MessageText(msg::kCancelling));
  EXPECT_EQ(main_.received, std::vector<UINT>{app::messages::kTransferCancelled.id()});
  progress_.SetProgressText(L"2 / 3 late report");
  EXPECT_EQ(text(), MessageText(msg::kCancelling));
  // Esc does nothing more while the button is disabled.
  progress_.send(WM_COMMAND, IDCANCEL);
  EXPECT_EQ(main_.received.size(), 1u);

  // The next drop shows its texts again.
  flags_.busy = 0;
  flags_.cancel = 0;
  progress_.ShowForTransfer(main_.item(50));
  EXPECT_EQ(text(), MessageText(msg::kCollectingFiles));
  progress_.SetProgressText(L"fresh");
  EXPECT_EQ(text(), L"fresh");
  EXPECT_TRUE(buttonEnabled());
}

TEST_F(TransferProgressTest, CancelWithNothingRunningReportsTheDropAsCompleted) {
  progress_.ShowForTransfer(main_.item(50));
  flags_.busy = 0;
  progress_.send(WM_COMMAND, IDCANCEL);  // Esc
  EXPECT_EQ(flags_.cancel.load(), 1);
  EXPECT_EQ(main_.received, std::vector<UINT>{app::messages::kTransferCompleted.id()});
  EXPECT_TRUE(buttonEnabled());
  EXPECT_TRUE(progress_.isVisible());
}

// The transfer's thread marks the point of no return before it stores the
// track's properties. A press that reaches the window before the posted
// note does (a sent click is handled ahead of posted messages) is refused
// all the same, and late progress reports of that track do not offer
// Cancel again; once the transfer has ended, Cancel works as before.
TEST_F(TransferProgressTest, CancelIsRefusedOnceTheTrackIsPastThePointOfNoReturn) {
  progress_.ShowForTransfer(main_.item(50));
  flags_.busy = 1;
  std::thread([this] { progress_.NotePastCancel(true); }).join();
  pressButton();
  EXPECT_EQ(flags_.cancel.load(), 0);
  EXPECT_TRUE(main_.received.empty());
  EXPECT_TRUE(testsupport::PumpUntil([this] { return !buttonEnabled(); }));
  progress_.SetButtonState(0);  // a progress report of the same track
  EXPECT_FALSE(buttonEnabled());

  std::thread([this] { progress_.NotePastCancel(false); }).join();
  progress_.SetButtonState(0);  // the next track's first report
  EXPECT_TRUE(buttonEnabled());
  pressButton();
  EXPECT_EQ(flags_.cancel.load(), 1);
  EXPECT_EQ(main_.received, std::vector<UINT>{app::messages::kTransferCancelled.id()});
}

TEST_F(TransferProgressTest, WithoutTexts) {
  // No message module: the captions are empty, yet Cancel still cancels.
  winui::SetMessageModule(nullptr);
  progress_.ShowForTransfer(main_.item(50));
  EXPECT_EQ(caption(), L"");
  flags_.busy = 1;
  pressButton();
  EXPECT_EQ(flags_.cancel.load(), 1);
  EXPECT_EQ(main_.received, std::vector<UINT>{app::messages::kTransferCancelled.id()});
}

TEST_F(TransferProgressTest, TopMostWithoutMoving) {
  progress_.ShowForTransfer(main_.item(50));
  RECT before{}, after{};
  ::GetWindowRect(progress_.hwnd(), &before);
  progress_.MakeTopMost();
  ::GetWindowRect(progress_.hwnd(), &after);
  EXPECT_TRUE(::GetWindowLongPtrW(progress_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  progress_.HideAndReleaseMainWindow();
  EXPECT_FALSE(progress_.isVisible());
  EXPECT_TRUE(::IsWindowEnabled(main_.hwnd()));
}

}  // namespace
