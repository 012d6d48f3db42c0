#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winui/application.h"

namespace {

class StepApp final : public winui::CApplication {
 public:
  bool passInitApplication = true;
  bool runLoop = false;
  int exitResult = -1;  // -1: the default ExitInstance
  std::vector<std::string> steps;

 protected:
  bool InitApplication() override {
    steps.push_back("application");
    if (!passInitApplication) setExitCode(4);
    return passInitApplication;
  }
  bool InitInstance() override {
    steps.push_back("instance");
    if (runLoop) ::PostQuitMessage(6);
    return runLoop;
  }
  int ExitInstance() override {
    steps.push_back("exit");
    return exitResult >= 0 ? exitResult : CApplication::ExitInstance();
  }
};

TEST(Application, OneApplicationObjectAtATime) {
  EXPECT_EQ(winui::CApplication::Instance(), nullptr);
  {
    StepApp app;
    EXPECT_EQ(winui::CApplication::Instance(), &app);
  }
  EXPECT_EQ(winui::CApplication::Instance(), nullptr);
}

TEST(Application, AFailedFirstStepStopsWithoutExitStep) {
  StepApp app;
  app.passInitApplication = false;
  EXPECT_EQ(app.Run(nullptr), 4);
  EXPECT_EQ(app.steps, std::vector<std::string>{"application"});
  EXPECT_EQ(app.instance(), ::GetModuleHandleW(nullptr));
}

TEST(Application, WithoutAMessageLoopTheExitStepGivesTheExitCode) {
  StepApp app;
  app.exitResult = 11;
  EXPECT_EQ(app.Run(nullptr), 11);
  EXPECT_EQ(app.steps, (std::vector<std::string>{"application", "instance", "exit"}));
}

TEST(Application, TheMessageLoopRunsUntilQuitAndItsCodeIsTheDefaultExitCode) {
  StepApp app;
  app.runLoop = true;
  EXPECT_EQ(app.Run(nullptr), 6);
  EXPECT_EQ(app.steps, (std::vector<std::string>{"application", "instance", "exit"}));
}

TEST(Application, OnlyPlainF1IsTheHelpKey) {
  MSG msg{};
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_F1;
  EXPECT_TRUE(winui::IsHelpKey(msg));
  msg.wParam = VK_F2;
  EXPECT_FALSE(winui::IsHelpKey(msg));
  msg.message = WM_KEYUP;
  msg.wParam = VK_F1;
  EXPECT_FALSE(winui::IsHelpKey(msg));
}

}  // namespace
