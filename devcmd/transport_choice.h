// Which of the three pass-through routes a command takes, from the system's
// OsKind and AdminLevel, and how an INQUIRY is sent, from the
// "GetInquiryType" setting.
#pragma once

#include <optional>
#include <string_view>

namespace devcmd {

enum class TransportKind {
  kNone,     // no route: every command fails
  kVolume,   // the drive's volume handle and the system's SCSI pass-through
  kVxd,      // the maker's pass-through driver (Windows 98 and Me)
  kService,  // the maker's pass-through service, through COM
};

// Windows 98 and Me use the driver; NT 4 and 2000 the volume; XP (and later)
// the volume for an administrator and the service for everyone else, who
// may not send pass-through requests. Win32s, Windows 95 and an
// unclassified system have no route.
TransportKind ChooseTransport(std::optional<int> osKind, int adminLevel);

enum class InquiryRoute {
  kTransportInquiry,  // the transport's own INQUIRY request
  kDataInCommand,     // an ordinary data-in command carrying INQUIRY
};

// The route for the text of the "GetInquiryType" value, or for no value
// (the key or value missing or unreadable): only a value whose decimal
// number is not 1 selects the data-in command. The number is read the way
// atoi reads it: leading blanks, a sign, then digits up to the first other
// character.
InquiryRoute ChooseInquiryRoute(std::optional<std::string_view> inquiryType);

}  // namespace devcmd
