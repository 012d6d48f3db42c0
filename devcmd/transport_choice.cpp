#include "devcmd/transport_choice.h"

#include <cstdint>

#include "devcmd/admin_level.h"
#include "devcmd/os_kind.h"

namespace devcmd {

TransportKind ChooseTransport(std::optional<int> osKind, int adminLevel) {
  if (!osKind) return TransportKind::kNone;
  switch (*osKind) {
    case osrights::kOsWindows98:
    case osrights::kOsWindowsMe:
      return TransportKind::kVxd;
    case osrights::kOsWindowsNt4:
    case osrights::kOsWindows2000:
      return TransportKind::kVolume;
    case osrights::kOsWindowsXp:
      return adminLevel == osrights::kAdminAdministrators ? TransportKind::kVolume : TransportKind::kService;
    default:
      return TransportKind::kNone;
  }
}

namespace {

// atoi without its undefined overflow: saturates instead.
int64_t DecimalPrefix(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < INT64_C(1) << 40) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

InquiryRoute ChooseInquiryRoute(std::optional<std::string_view> inquiryType) {
  if (!inquiryType || DecimalPrefix(*inquiryType) == 1) return InquiryRoute::kTransportInquiry;
  return InquiryRoute::kDataInCommand;
}

}  // namespace devcmd
