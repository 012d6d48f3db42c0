// CApplication: the program's application object, one per process. Run()
// goes through the program's steps in order:
//   InitApplication  checks that must pass before anything starts (a second
//                    instance stops here);
//   InitInstance     start-up proper; returns whether a message loop is to
//                    run (a dialog program runs its main dialog modally here
//                    and returns false);
//   message loop     only when InitInstance asked for it;
//   ExitInstance     clean-up; its result is the process exit code.
// ExitInstance runs whenever InitApplication passed, also after a failed
// InitInstance, so clean-up lives in one place.
#pragma once

#include <windows.h>

#include <vector>

namespace winui {

class CDialog;

class CApplication {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  // The application object of the process, or null when none exists.
  static CApplication* Instance();

  // Runs the steps above and returns the exit code.
  int Run(HINSTANCE instance);

  HINSTANCE instance() const { return instance_; }
  CDialog* mainWindow() const { return mainWindow_; }
  void setMainWindow(CDialog* window) { mainWindow_ = window; }

  // The help command of the program (F1 in any dialog); the default does
  // nothing. from is the dialog the command came from.
  virtual void OnHelp(HWND from) {}

  // Looks at a message before it is dispatched, in every message loop of the
  // framework: F1 becomes the help command of the dialog it was pressed in,
  // and modeless dialogs get their keyboard navigation. True when consumed.
  virtual bool PreTranslateMessage(MSG& message);

  // Modeless dialogs register themselves while their window exists.
  void addModeless(CDialog* dialog);
  void removeModeless(CDialog* dialog);

 protected:
  virtual bool InitApplication() { return true; }
  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return exitCode_; }
  // Exit code used when InitApplication fails, and ExitInstance's default.
  void setExitCode(int code) { exitCode_ = code; }
  int exitCode() const { return exitCode_; }

 private:
  int runMessageLoop();

  HINSTANCE instance_ = nullptr;
  CDialog* mainWindow_ = nullptr;
  std::vector<CDialog*> modeless_;
  int exitCode_ = 0;
};

// The module the program's dialogs and pictures are loaded from: the
// application object's instance, or the program file's module when no
// application object runs (as in the tests of single windows).
HINSTANCE ResourceModule();

// True for the keystroke that asks for help (F1 without Shift, Ctrl or Alt).
bool IsHelpKey(const MSG& message);

}  // namespace winui
