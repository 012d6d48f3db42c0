#include "devcmd/device_commands.h"

#include <atomic>
#include <cstring>

#include "devcmd/command_block.h"
#include "devcmd/command_context.h"
#include "devcmd/inquiry.h"
#include "devcmd/vendor_command.h"

namespace devcmd {

namespace {
std::atomic<int> g_driveIndex{-1};
}  // namespace

void StoreDriveIndex(int drive) { g_driveIndex.store(drive); }
int StoredDriveIndex() { return g_driveIndex.load(); }

namespace cmd {

namespace {

// Sends the first `length` bytes of block with a sub-command.
bool Send(CommandContext& context, uint8_t subCommand, CommandBlock& block, size_t length) {
  return hr::Succeeded(context.SendVendorCommand(subCommand, block.data(), static_cast<uint16_t>(length)));
}

}  // namespace

int GetInquiry(CommandHost& host, char* text) {
  if (text == nullptr) return kInquiryFailed;
  std::memset(text, 0, kInquiryTextSize);
  CommandContext context(host);
  if (hr::Failed(context.SelectDrive(StoredDriveIndex()))) return kInquiryFailed;
  uint8_t answer[kInquiryTextSource] = {};
  if (hr::Failed(context.Inquiry(answer, sizeof(answer)))) return kInquiryFailed;
  char formatted[kInquiryTextSize];
  FormatInquiryText(answer, formatted);
  std::memcpy(text, formatted, sizeof(formatted));
  return kInquiryOk;
}

int SetUserNameDevice(CommandHost& host, uint16_t number, const char* name) {
  // Checked before anything else, so a name that would overrun its field
  // never reaches the device.
  CommandBlock request = MakeRequestBlock();
  if (hr::Failed(BuildUserNameRequest(number, name, request))) return kResultCommandFailed;
  CommandContext context(host);
  if (hr::Failed(context.SelectDrive(StoredDriveIndex()))) return kResultDriveNotSelectable;
  return Send(context, kSubSetUserName, request, block::kUserNameRequestLength) ? kResultOk
                                                                                : kResultCommandFailed;
}

int SetPreferenceMenu(CommandHost& host, const SETPREFERENCEMENU* menu) {
  if (menu == nullptr) return kResultCommandFailed;
  CommandBlock request = MakeRequestBlock();
  BuildPreferenceMenuRequest(*menu, request);
  CommandContext context(host);
  if (hr::Failed(context.SelectDrive(StoredDriveIndex()))) return kResultDriveNotSelectable;
  return Send(context, kSubSetPreferenceMenu, request, block::kMenuRequestLength) ? kResultOk
                                                                                  : kResultCommandFailed;
}

int GetPreferenceInfo(CommandHost& host, SETPREFERENCEMENU* menu, SETPREFERENCETIMERREC* timer) {
  if (menu == nullptr || timer == nullptr) return kResultCommandFailed;
  CommandBlock response = MakeResponseBlock();
  CommandContext context(host);
  if (hr::Failed(context.SelectDrive(StoredDriveIndex()))) return kResultDriveNotSelectable;
  if (!Send(context, kSubReadPreferences, response, block::kPreferenceReplyLength))
    return kResultCommandFailed;
  return ReadPreferenceReply(response, *menu, *timer);
}

int Reset(CommandHost& host) {
  CommandContext context(host);
  if (hr::Failed(context.SelectDrive(StoredDriveIndex()))) return kResetFailed;
  return hr::Succeeded(context.SendVendorCommand(kSubReset, nullptr, 0)) ? kResultOk : kResetFailed;
}

}  // namespace cmd
}  // namespace devcmd
