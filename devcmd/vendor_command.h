// The player's vendor command: a 12-byte CDB with operation code 0xFC that
// carries a sub-command and the length of the command block it moves.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "devcmd/data_direction.h"

namespace devcmd {

constexpr uint8_t kVendorOperationCode = 0xFC;
constexpr size_t kVendorCdbLength = 12;

// Sub-commands the library sends.
constexpr uint8_t kSubReadPreferences = 0x02;    // data in: preference and timer records
constexpr uint8_t kSubSetUserName = 0x41;        // data out: owner number and name
constexpr uint8_t kSubSetPreferenceMenu = 0x42;  // data out: preference menu record
constexpr uint8_t kSubReset = 0x80;              // no data

using VendorCdb = std::array<uint8_t, kVendorCdbLength>;

// The direction a sub-command's two high bits give: 00 in, 01 out, 10 none;
// 11 is not a valid sub-command and gives no direction.
std::optional<DataDirection> VendorSubCommandDirection(uint8_t subCommand);

// FC 00 sub "DRESKAL" length-high length-low.
VendorCdb MakeVendorCdb(uint8_t subCommand, uint16_t transferLength);

}  // namespace devcmd
