// The pages with the program's own templates: their fixed layout, the
// finished page's two states, and the copying page run modally to the end
// of a copy.
#include <gtest/gtest.h>
#include <windows.h>

#include "stand-ins/scsi_player/simulated_device_system.h"
#include "tests/support/temp_dir.h"
#include "winui/controls.h"
#include "wizard/copy_progress_page_win32.h"
#include "wizard/deckhand_res.h"
#include "wizard/drive_select_page_win32.h"
#include "wizard/finish_page_win32.h"
#include "wizard/welcome_page_win32.h"

namespace {

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    look.texts.title = "Pellmark Update";
    look.texts.next = "Next";
    look.texts.back = "Prev";
    look.texts.exit = "Exit";
    look.texts.cancel = "Cancel";
    look.texts.done = "Done";
    look.texts.finish = "Finish";
    look.texts.refresh = "Refresh";
    look.texts.toDriveSelection = "Choose drive";
    look.texts.failed = {"Failed", "Copy failed"};
    look.texts.finished = {"Finished", "All copied"};
    look.Create(::GetModuleHandleW(nullptr));
    sim.setClassification(7, 4);
  }

  static RECT Rect(const winui::CDialog& page, int id) { return page.itemRect(id); }
  static void ExpectRect(const RECT& r, int left, int top, int width, int height, const char* what) {
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.right - r.left, width) << what;
    EXPECT_EQ(r.bottom - r.top, height) << what;
  }

  wizard::WizardLook look;
  scsiplayer::SimulatedDeviceSystem sim;
};

TEST_F(PagesTest, EveryPageHasTheSameFrameAndButtonRow) {
  ASSERT_TRUE(look.header);  // bitmap 141
  ASSERT_TRUE(look.body());

  wizard::WelcomePage welcome(look);
  ASSERT_TRUE(welcome.Create());
  RECT window;
  ::GetWindowRect(welcome.hwnd(), &window);
  EXPECT_EQ(window.right - window.left, 450);
  EXPECT_EQ(window.bottom - window.top, ::GetSystemMetrics(SM_CYCAPTION) + 282);
  EXPECT_EQ(window.left, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 225);
  ExpectRect(Rect(welcome, IDOK), 220, 240, 80, 30, "Next");
  ExpectRect(Rect(welcome, IDCANCEL), 350, 240, 80, 30, "Exit");
  EXPECT_EQ(welcome.itemText(IDCANCEL), L"Exit");
  EXPECT_EQ(welcome.itemText(IDOK), L"Next");
  EXPECT_EQ(welcome.title(), L"Pellmark Update");
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(welcome.item(IDC_PAGE_MESSAGE), WM_GETFONT, 0, 0)),
            look.body());
  welcome.Destroy();

  wizard::DriveSelectPage drive(look, sim, [](int) { return 0; });
  ASSERT_TRUE(drive.Create());
  ExpectRect(Rect(drive, IDC_BACK), 138, 240, 80, 30, "Back");
  EXPECT_EQ(drive.itemText(IDCANCEL), L"Cancel");
  EXPECT_EQ(drive.itemText(IDC_REFRESH), L"Refresh");
  const RECT refresh = Rect(drive, IDC_REFRESH);
  EXPECT_EQ(refresh.right - refresh.left, 80);
  EXPECT_EQ(refresh.bottom - refresh.top, 30);
  EXPECT_FALSE(::IsWindowEnabled(drive.item(IDOK)));  // until a player is listed
  drive.Destroy();
}

TEST_F(PagesTest, TheFinishedPageShowsTheFailureAndTheWayBack) {
  wizard::FinishPage page(look);
  page.setResult(ERROR_ACCESS_DENIED);
  ASSERT_TRUE(page.Create());
  EXPECT_EQ(page.itemText(IDCANCEL), L"Done");
  EXPECT_EQ(page.itemText(IDC_PAGE_MESSAGE), L"Copy failed");
  // Shown (the page itself is not on screen in this test).
  EXPECT_TRUE(::GetWindowLongW(page.item(IDC_TO_DRIVE_SELECTION), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(page.itemText(IDC_TO_DRIVE_SELECTION), L"Choose drive");
  ExpectRect(Rect(page, IDC_TO_DRIVE_SELECTION), 138, 240, 120, 30, "to drive selection");
  const std::string reason = wizard::SystemMessageText(ERROR_ACCESS_DENIED);
  EXPECT_EQ(page.itemText(IDC_PAGE_DETAIL), std::wstring(reason.begin(), reason.end()));
  page.Destroy();

  page.setResult(hr::kOk);
  ASSERT_TRUE(page.Create());
  EXPECT_EQ(page.itemText(IDCANCEL), L"Finish");
  EXPECT_EQ(page.itemText(IDC_PAGE_MESSAGE), L"All copied");
  EXPECT_FALSE(::GetWindowLongW(page.item(IDC_TO_DRIVE_SELECTION), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(page.itemText(IDC_PAGE_DETAIL), L"");
  page.Destroy();
}

// CopyFileA fails with the chosen error for every file.
class FailingFiles final : public wizard::CopyFileOps {
 public:
  explicit FailingFiles(DWORD error) : m_error(error) {}
  DWORD GetFileAttributesA(LPCSTR path) override { return ::GetFileAttributesA(path); }
  BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) override {
    return ::SetFileAttributesA(path, attributes);
  }
  BOOL CreateDirectoryA(LPCSTR path) override { return ::CreateDirectoryA(path, nullptr); }
  BOOL CopyFileA(LPCSTR, LPCSTR, BOOL) override {
    ::SetLastError(m_error);
    return FALSE;
  }

 private:
  DWORD m_error;
};

TEST_F(PagesTest, ACopyFailingWithErrorTwoEndsThePageAsACopyNotAsLeaving) {
  testsupport::TempDir dir;
  const std::string folder = dir.path().string() + "\\";
  testsupport::WriteFile(folder + "Pellmark.exe", "x");
  FailingFiles files(ERROR_FILE_NOT_FOUND);
  wizard::CopyEngine engine(sim, files);
  wizard::CopySettings settings;
  settings.programFolder = folder;
  settings.files = {"Pellmark.exe"};
  settings.path = "\\PLMRK\\";
  engine.Use(settings);
  engine.SetTarget(dir.path().string());

  wizard::CopyProgressPage page(look);
  page.setEngine(&engine);
  EXPECT_EQ(page.Show(), 1);
  EXPECT_EQ(page.copyResult(), ERROR_FILE_NOT_FOUND);

  // A second showing runs a fresh copy.
  wizard::CopyEngine working(sim, wizard::RealCopyFileOps());
  working.Use(settings);
  working.SetTarget(dir.path().string());
  page.setEngine(&working);
  EXPECT_EQ(page.Show(), 1);
  EXPECT_EQ(page.copyResult(), hr::kOk);
  EXPECT_EQ(testsupport::ReadText(dir.path().string() + "\\PLMRK\\Pellmark.exe"), "x");
}

}  // namespace
