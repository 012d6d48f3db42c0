#include "wizard/drive_rules.h"

#include "devcmd/os_kind.h"

namespace wizard {

std::optional<char> DriveLetterOfDisplayName(std::string_view name) {
  if (name.size() < 3) return std::nullopt;
  if (name[name.size() - 2] != ':') return std::nullopt;
  const char letter = name[name.size() - 3];
  if ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')) return letter;
  return std::nullopt;
}

bool IsFloppyLetter(char letter) { return letter == 'A' || letter == 'B' || letter == 'a' || letter == 'b'; }

bool SystemAllowsDrive(int osKind, char letter) {
  if (osKind == osrights::kOsWindows98 || osKind == osrights::kOsWindowsMe) return !IsFloppyLetter(letter);
  if (osKind == osrights::kOsWindowsNt4) return false;
  return true;
}

bool IsPlayerAnswer(const std::optional<InquiryInfo>& answer) {
  if (!answer) return true;
  return answer->vendorSpecific == kPlayerName && answer->deviceCap == 1;
}

std::vector<DriveChoice> ScanDrives(const std::vector<std::string>& displayNames, int osKind,
                                    const std::function<unsigned(const std::string&)>& driveType,
                                    const std::function<bool(char)>& isPlayer) {
  std::vector<DriveChoice> found;
  for (const std::string& name : displayNames) {
    const std::optional<char> letter = DriveLetterOfDisplayName(name);
    if (!letter) continue;
    if (driveType(std::string(1, *letter) + ":\\") != kDriveRemovable) continue;
    if (!SystemAllowsDrive(osKind, *letter)) continue;
    if (!isPlayer(*letter)) continue;
    found.push_back({name, *letter});
  }
  return found;
}

}  // namespace wizard
