// WizardPage: the base of the five pages. Every page has the same frame:
// 450 pixels wide, centred on the screen, a white header band with the
// caption in the title font and the header bitmap, and its buttons (Next,
// Exit or Cancel, Back) in one row at y 240.
#pragma once

#include <string>

#include "winui/dialog.h"
#include "wizard/wizard_look_win32.h"

namespace wizard {

constexpr int kPageWidth = 450;
constexpr int kPageClientHeight = 282;
constexpr int kButtonTop = 240;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 30;

class WizardPage : public winui::CDialog {
 public:
  WizardPage(UINT templateId, const WizardLook& look, PageTexts texts);

  // Shows the page modally and returns its result.
  INT_PTR Show() { return DoModal(nullptr); }

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;

  // The caption painted in the header; the template's title when empty.
  virtual std::string caption() const { return m_texts.caption; }
  // The text of control 2.
  virtual std::string closeButtonText() const { return m_look.texts.cancel; }
  // The page message shown in control 1013.
  virtual std::string message() const { return m_texts.message; }

  const WizardLook& look() const { return m_look; }
  const UiTexts& texts() const { return m_look.texts; }
  void setAnsiText(int id, const std::string& text) const;
  void setBodyFont(int id) const;
  // Re-reads caption() and message() into the window, for pages whose texts
  // change after initialisation.
  void refreshTexts();

 private:
  void paintHeader(HDC dc) const;
  void placeButton(int id, int x, const std::string& text) const;

  const WizardLook& m_look;
  PageTexts m_texts;
  std::wstring m_sTemplateTitle;
  std::wstring m_sCaption;  // as painted
};

}  // namespace wizard
