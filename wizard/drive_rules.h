// Which of the PC's drives the drive page offers: the rules of the scan,
// apart from the system calls that answer them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/inquiry_info.h"

namespace wizard {

constexpr unsigned kDriveRemovable = 2;  // GetDriveTypeA

// The letter of a drives-folder display name that ends like "(E:)": the
// second-to-last character is ":" and the one before it a letter A-Z or
// a-z. Empty for any other name.
std::optional<char> DriveLetterOfDisplayName(std::string_view name);

// A and B, in either case: floppy letters, never the player.
bool IsFloppyLetter(char letter);

// The system rule of the scan: on Windows 98 and Me the floppy letters are
// left out, on NT 4 every drive is.
bool SystemAllowsDrive(int osKind, char letter);

// The decision on an INQUIRY answer: a drive that could not be asked is
// offered (it may be the player behind a bridge that refuses pass-through);
// one that answered must call itself the player and have DeviceCap 1.
bool IsPlayerAnswer(const std::optional<InquiryInfo>& answer);

struct DriveChoice {
  std::string displayName;
  char letter = 0;
};

// One scan over the drives folder's display names, in their order. The
// checks run in this order and stop at the first that fails, so IsPlayer
// (which talks to the drive) is only asked about removable drives the
// system rule allows. driveType is given the root path "X:\".
std::vector<DriveChoice> ScanDrives(const std::vector<std::string>& displayNames, int osKind,
                                    const std::function<unsigned(const std::string&)>& driveType,
                                    const std::function<bool(char)>& isPlayer);

}  // namespace wizard
