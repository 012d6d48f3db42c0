// What a CommandContext needs from the system it runs on: the
// classification, the transports, and the "GetInquiryType" setting. The
// library's Win32 host provides the real ones; tests provide their own.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "devcmd/scsi_transport.h"
#include "devcmd/transport_choice.h"

namespace devcmd {

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  virtual std::optional<int> osKind() = 0;
  virtual int adminLevel() = 0;
  // A transport of the given kind (never kNone); null when it cannot be made.
  virtual std::unique_ptr<ScsiTransport> createTransport(TransportKind kind) = 0;
  // Text of the "GetInquiryType" value; empty when the key or the value is
  // missing or cannot be read.
  virtual std::optional<std::string> inquiryType() = 0;
};

}  // namespace devcmd
