// The six exports of Vantle.dll. Each runs its command on the current
// system and never lets an exception reach the caller.
#include <new>

#include "common/hresult.h"
#include "devcmd/device_commands.h"
#include "devcmd/device_system.h"
#include "devcmd/vantle.h"
#include "devcmd/win32_command_host.h"

namespace {

// Writes the outcome of command to *result; a command that throws (only
// memory exhaustion can) reports failureCode.
template <class Command>
int RunExport(int* result, int failureCode, Command command) {
  if (result == nullptr) return static_cast<int>(hr::kPointer);
  try {
    devcmd::Win32CommandHost host(devcmd::CurrentDeviceSystem());
    *result = command(host);
  } catch (...) {
    *result = failureCode;
  }
  return 0;
}

}  // namespace

extern "C" {

int VANTLE_CALL SetDriveNo(int drive) {
  devcmd::StoreDriveIndex(drive);
  return 0;
}

int VANTLE_CALL GetInquiry(char* text, int* result) {
  return RunExport(result, devcmd::kInquiryFailed,
                   [&](devcmd::CommandHost& host) { return devcmd::cmd::GetInquiry(host, text); });
}

int VANTLE_CALL SetUserNameDevice(unsigned short number, const char* name, int* result) {
  return RunExport(result, devcmd::kResultCommandFailed, [&](devcmd::CommandHost& host) {
    return devcmd::cmd::SetUserNameDevice(host, number, name);
  });
}

int VANTLE_CALL SetPreferenceMenu(SETPREFERENCEMENU* menu, int* result) {
  return RunExport(result, devcmd::kResultCommandFailed,
                   [&](devcmd::CommandHost& host) { return devcmd::cmd::SetPreferenceMenu(host, menu); });
}

int VANTLE_CALL GetPreferenceInfo(SETPREFERENCEMENU* menu, SETPREFERENCETIMERREC* timer, int* result) {
  return RunExport(result, devcmd::kResultCommandFailed, [&](devcmd::CommandHost& host) {
    return devcmd::cmd::GetPreferenceInfo(host, menu, timer);
  });
}

int VANTLE_CALL Reset(int* result) {
  return RunExport(result, devcmd::kResetFailed,
                   [&](devcmd::CommandHost& host) { return devcmd::cmd::Reset(host); });
}

}  // extern "C"
