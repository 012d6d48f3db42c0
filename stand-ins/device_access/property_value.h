// The values the simulated player keeps for its albums and tracks, without
// the COM types of the library interface: the COM layer converts VARIANTs
// to and from these.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace standin {

// Empty, text, unsigned 32-bit, signed 64-bit, or bytes.
using PropertyValue = std::variant<std::monostate, std::u16string, uint32_t, int64_t, std::vector<uint8_t>>;
using PropertyMap = std::map<uint32_t, PropertyValue>;
using PropertyList = std::vector<std::pair<uint32_t, PropertyValue>>;

// The value type each known property must have; std::monostate for ids the
// player does not know.
enum class PropertyType { kUnknown, kText, kUnsigned, kSigned64, kBytes };
PropertyType TypeOfProperty(uint32_t id);
bool HasType(const PropertyValue& value, PropertyType type);

}  // namespace standin
