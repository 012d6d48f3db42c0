#include "stand-ins/device_access/property_value.h"

#include "device/property_ids.h"

namespace standin {

PropertyType TypeOfProperty(uint32_t id) {
  switch (id) {
    case device::kPropName:
    case device::kPropAlbumText:
    case device::kPropArtist:
    case device::kPropGenre:
    case device::kPropFilePath:
      return PropertyType::kText;
    case device::kPropPlayTime:
      return PropertyType::kSigned64;
    case device::kPropTrackNumber:
    case device::kPropTrackFlags:
      return PropertyType::kUnsigned;
    case device::kPropHeaderBytes:
      return PropertyType::kBytes;
    default:
      return PropertyType::kUnknown;
  }
}

bool HasType(const PropertyValue& value, PropertyType type) {
  switch (type) {
    case PropertyType::kText:
      return std::holds_alternative<std::u16string>(value);
    case PropertyType::kUnsigned:
      return std::holds_alternative<uint32_t>(value);
    case PropertyType::kSigned64:
      return std::holds_alternative<int64_t>(value);
    case PropertyType::kBytes:
      return std::holds_alternative<std::vector<uint8_t>>(value);
    case PropertyType::kUnknown:
      return false;
  }
  return false;
}

}  // namespace standin
