// CDialog: one dialog window built from a dialog template, modal or
// modeless. The window procedure stores the object when WM_INITDIALOG
// arrives and forwards every later message to virtual handlers. No
// exception leaves a handler into the system: the dispatch catches it and
// reports it (winui/error_report.h).
//
// Modal dialogs run their own message loop (not DialogBox) so that the
// application can look at every message first: F1 becomes the help command
// in every dialog of the program, and modeless dialogs keep their keyboard
// navigation while a modal one is up.
#pragma once

#include <windows.h>

#include <string>

namespace winui {

// The framework's help command: F1 and WM_HELP reach OnHelp through it, and
// any code may post it as a WM_COMMAND.
constexpr UINT kHelpCommandId = 0xE146;

class CDialog {
 public:
  // A dialog from template templateId in the resources of module (null: the
  // program's own module).
  explicit CDialog(UINT templateId, HMODULE module = nullptr);
  // A dialog from a template in memory; the template must outlive the window.
  explicit CDialog(const DLGTEMPLATE* inMemoryTemplate);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Shows the dialog modally: owner (its top-level window) is disabled until
  // the dialog ends. Returns the result given to EndDialog, IDCANCEL when the
  // loop ended on WM_QUIT (which is posted again), or -1 when the window
  // could not be created or was destroyed from outside.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the dialog modelessly; it is shown when its template says
  // WS_VISIBLE. False when the window could not be created.
  bool Create(HWND owner = nullptr);
  // Modal: ends the loop with result. Modeless: destroys the window.
  void EndDialog(INT_PTR result);
  // Destroys the window now (modal or not).
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  bool isModal() const { return modal_; }
  UINT templateId() const { return templateId_; }
  // The dialog object of a window made by this framework, else null.
  static CDialog* FromHandle(HWND window);

  // ---- Controls and window ----------------------------------------------
  HWND item(int id) const;
  std::wstring itemText(int id) const;
  void setItemText(int id, const std::wstring& text) const;
  void enableItem(int id, bool enable) const;
  void showItem(int id, bool show) const;
  bool isItemChecked(int id) const;
  void setItemChecked(int id, bool checked) const;
  // The control's rectangle in this dialog's client coordinates.
  RECT itemRect(int id) const;
  std::wstring title() const;
  void setTitle(const std::wstring& text) const;

  // ---- Timers and messages ----------------------------------------------
  bool setTimer(UINT_PTR id, UINT milliseconds);
  void killTimer(UINT_PTR id);
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  bool post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Runs the help command as F1 does (OnHelp, exceptions caught).
  void runHelpCommand();

  // Called for every message of a running modal loop before the dialog's
  // own keyboard handling; true when the message was consumed.
  virtual bool PreTranslateMessage(MSG& message);

 protected:
  // Every message comes here first. Return true and set result to take it
  // over completely; false lets the handlers below and then the system's
  // dialog handling see it. This is where a dialog filters messages.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // True lets the system set the focus to the first control.
  virtual bool OnInitDialog() { return true; }
  // True when handled. The default maps IDOK to OnOK, IDCANCEL to OnCancel
  // and kHelpCommandId to OnHelp.
  virtual bool OnCommand(UINT id, UINT notifyCode, HWND control);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void OnTimer(UINT_PTR id) {}
  virtual void OnSize(UINT sizeType, int width, int height) {}
  // System menu commands (raw wParam of WM_SYSCOMMAND); true when handled.
  virtual bool OnSysCommand(WPARAM command, LPARAM lParam) { return false; }
  // WM_CLOSE; false lets the system turn it into IDCANCEL.
  virtual bool OnClose() { return false; }
  // The help command; the default asks the application (CApplication::OnHelp).
  virtual void OnHelp();
  // The window is about to be destroyed.
  virtual void OnDestroy() {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  HWND createWindow(HWND owner);
  void attach(HWND window);
  void detach();

  UINT templateId_ = 0;
  HMODULE module_ = nullptr;
  const DLGTEMPLATE* memoryTemplate_ = nullptr;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = -1;
};

}  // namespace winui
