#include "wizard/player_check_win32.h"

#include <optional>

#include "devcmd/vantle.h"
#include "wizard/drive_rules.h"
#include "wizard/scsi_drive_win32.h"

namespace wizard {

SetDriveNoFn LibrarySetDriveNo() {
  return [](int drive) { return ::SetDriveNo(drive); };
}

bool IsPlayer(char letter, devcmd::DeviceSystem& system, const SetDriveNoFn& setDriveNo) {
  const char root[4] = {letter, ':', '\\', '\0'};
  if (system.GetDriveTypeA(root) != DRIVE_REMOVABLE) return false;
  if (IsFloppyLetter(letter)) return false;
  const char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
  const int index = upper - 'A';
  if (setDriveNo(index) != 0) return false;

  ScsiDrive drive(system);
  InquiryInfo info;
  if (hr::Failed(drive.Inquire(index, info))) return IsPlayerAnswer(std::nullopt);
  return IsPlayerAnswer(info);
}

}  // namespace wizard
