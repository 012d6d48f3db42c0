// The drive page: lists the drives recognised as the player, scans half a
// second after it opens and again on Refresh, retrying for about ten
// seconds when none is found. Next gives the chosen drive as "X:".
#pragma once

#include <vector>

#include "devcmd/device_system.h"
#include "wizard/drive_rules.h"
#include "wizard/player_check_win32.h"
#include "wizard/wizard_page_win32.h"

namespace wizard {

constexpr UINT_PTR kScanTimer = 100;
constexpr UINT kScanDelayMs = 500;
constexpr int kScanRetries = 10;
constexpr DWORD kScanRetryDelayMs = 1000;

class DriveSelectPage final : public WizardPage {
 public:
  // retryDelayMs is the wait between two scans that found no player.
  DriveSelectPage(const WizardLook& look, devcmd::DeviceSystem& system, SetDriveNoFn setDriveNo,
                  DWORD retryDelayMs = kScanRetryDelayMs);

  // "X:" after the page ended with Next.
  const std::string& chosenDrive() const { return m_sChosen; }
  // The letters of the list, in list order.
  const std::vector<char>& letters() const { return m_letters; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnTimer(UINT_PTR id) override;
  void OnOK() override;

 private:
  void scan();
  void fillList();
  void drawItem(const DRAWITEMSTRUCT& item) const;

  devcmd::DeviceSystem& m_system;
  SetDriveNoFn m_setDriveNo;
  DWORD m_nRetryDelayMs;
  std::vector<char> m_letters;
  std::string m_sChosen;
};

}  // namespace wizard
