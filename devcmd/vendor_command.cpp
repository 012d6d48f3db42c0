#include "devcmd/vendor_command.h"

namespace devcmd {

std::optional<DataDirection> VendorSubCommandDirection(uint8_t subCommand) {
  switch (subCommand >> 6) {
    case 0:
      return DataDirection::kIn;
    case 1:
      return DataDirection::kOut;
    case 2:
      return DataDirection::kNone;
    default:
      return std::nullopt;
  }
}

VendorCdb MakeVendorCdb(uint8_t subCommand, uint16_t transferLength) {
  VendorCdb cdb{kVendorOperationCode, 0x00, subCommand, 'D', 'R', 'E', 'S', 'K', 'A', 'L'};
  cdb[10] = static_cast<uint8_t>(transferLength >> 8);
  cdb[11] = static_cast<uint8_t>(transferLength & 0xFF);
  return cdb;
}

}  // namespace devcmd
