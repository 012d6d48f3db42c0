// The device commands behind the library's exports. Each builds one
// CommandContext on the given host, selects the library's drive, sends one
// command and returns the outcome code the export reports.
#pragma once

#include <cstdint>

#include "devcmd/command_host.h"
#include "devcmd/vantle.h"

namespace devcmd {

// Outcome codes.
constexpr int kResultOk = 0;
constexpr int kResultDriveNotSelectable = 1;
constexpr int kResultCommandFailed = 16;
constexpr int kInquiryOk = 1;
constexpr int kInquiryFailed = 0;
constexpr int kResetFailed = 1;

// The library's drive index (0 = A:), -1 until set. Shared by every call;
// callers set it before they issue commands.
void StoreDriveIndex(int drive);
int StoredDriveIndex();

namespace cmd {

// 1 with the identification text in text (31 bytes), else 0 with the 31
// bytes zeroed.
int GetInquiry(CommandHost& host, char* text);
// 0, 1, or 16 (also for a missing name or one longer than 23 characters,
// which is refused before anything is sent).
int SetUserNameDevice(CommandHost& host, uint16_t number, const char* name);
// 0, 1, or 16 (also for a missing record).
int SetPreferenceMenu(CommandHost& host, const SETPREFERENCEMENU* menu);
// 0, 1, 16 (also for a missing record), or the device's non-zero status.
int GetPreferenceInfo(CommandHost& host, SETPREFERENCEMENU* menu, SETPREFERENCETIMERREC* timer);
// 0, or 1 when the drive cannot be selected or the command fails.
int Reset(CommandHost& host);

}  // namespace cmd
}  // namespace devcmd
