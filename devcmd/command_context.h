// CommandContext: made at the start of every exported call and destroyed at
// its end. It owns the one transport that fits the system (or none) and
// sends the vendor command and INQUIRY through it.
#pragma once

#include <cstdint>
#include <memory>

#include "common/hresult.h"
#include "devcmd/command_host.h"

namespace devcmd {

class CommandContext {
 public:
  explicit CommandContext(CommandHost& host);
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  TransportKind transportKind() const { return m_kind; }
  ScsiTransport* transport() { return m_pTransport.get(); }

  // Every operation fails with kNotImpl when the system has no transport.
  HRESULT SelectDrive(int index);
  // The vendor command with the block in buffer: its direction comes from
  // the sub-command; a sub-command of 0xC0 or above is refused (kInvalidArg)
  // without sending anything.
  HRESULT SendVendorCommand(uint8_t subCommand, uint8_t* buffer, uint16_t length);
  // INQUIRY for length bytes (1 to 255) by the route the "GetInquiryType"
  // setting chooses.
  HRESULT Inquiry(uint8_t* buffer, uint32_t length);

 private:
  CommandHost& m_host;
  TransportKind m_kind = TransportKind::kNone;
  std::unique_ptr<ScsiTransport> m_pTransport;
};

}  // namespace devcmd
