// The CommandHost of the library on Windows: classification, transports
// and the "GetInquiryType" setting, all through a DeviceSystem.
#pragma once

#include "devcmd/command_host.h"
#include "devcmd/device_system.h"

namespace devcmd {

// Where the inquiry setting lives, under HKEY_LOCAL_MACHINE.
constexpr char kInquirySettingKey[] = "Software\\Keltan Corporation\\Lumora";
constexpr char kInquirySettingValue[] = "GetInquiryType";
constexpr DWORD kInquirySettingMaxBytes = 260;

class Win32CommandHost final : public CommandHost {
 public:
  explicit Win32CommandHost(DeviceSystem& system) : m_system(system) {}

  std::optional<int> osKind() override { return m_system.OsKind(); }
  int adminLevel() override { return m_system.AdminLevel(); }
  std::unique_ptr<ScsiTransport> createTransport(TransportKind kind) override;
  // A string value as its text; a DWORD value as its decimal text.
  std::optional<std::string> inquiryType() override;

 private:
  DeviceSystem& m_system;
};

}  // namespace devcmd
