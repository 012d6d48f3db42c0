#include "stand-ins/scsi_player/control_answers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "devcmd/driver_request.h"
#include "devcmd/pass_through_layout.h"

namespace scsiplayer {

namespace {

using devcmd::DataDirection;

// Windows error codes.
constexpr uint32_t kErrorInvalidFunction = 1;
constexpr uint32_t kErrorNotReady = 21;
constexpr uint32_t kErrorInvalidParameter = 87;

ControlAnswer Fail(uint32_t error) { return ControlAnswer{false, error, 0}; }

bool DirectionOf(uint8_t dataIn, DataDirection& out) {
  switch (dataIn) {
    case devcmd::kDataInToDevice:
      out = DataDirection::kOut;
      return true;
    case devcmd::kDataInFromDevice:
      out = DataDirection::kIn;
      return true;
    case devcmd::kDataInNone:
      out = DataDirection::kNone;
      return true;
    default:
      return false;
  }
}

}  // namespace

ControlAnswer AnswerPassThrough(ScsiTarget& target, uint32_t code, const void* in, uint32_t inSize, void* out,
                                uint32_t outSize) {
  const bool direct = code == devcmd::kIoctlScsiPassThroughDirect;
  if (!direct && code != devcmd::kIoctlScsiPassThrough) return Fail(kErrorInvalidFunction);
  const devcmd::PassThroughLayout layout = devcmd::LayoutFor(devcmd::kNativePointerWidth);
  if (in == nullptr || out == nullptr || inSize < layout.headerSize || outSize < layout.headerSize)
    return Fail(kErrorInvalidParameter);

  std::vector<uint8_t> system(std::max(inSize, outSize), 0);
  std::memcpy(system.data(), in, inSize);
  const devcmd::PassThroughFields f = devcmd::DecodePassThrough(devcmd::kNativePointerWidth, system);
  DataDirection direction;
  // The checks the system makes before it passes a request on.
  if (f.length != layout.headerSize || f.cdbLength == 0 || f.cdbLength > devcmd::ptfield::kCdbSize ||
      !DirectionOf(f.dataIn, direction) ||
      (f.senseInfoLength != 0 && static_cast<uint64_t>(f.senseInfoOffset) + f.senseInfoLength > outSize))
    return Fail(kErrorInvalidParameter);

  uint8_t* data = nullptr;
  if (f.dataTransferLength != 0) {
    if (direct) {
      if (f.dataBuffer == 0) return Fail(kErrorInvalidParameter);
      data = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(f.dataBuffer));
    } else {
      if (f.dataBuffer + f.dataTransferLength > system.size()) return Fail(kErrorInvalidParameter);
      data = system.data() + f.dataBuffer;
    }
  }

  CommandOutcome outcome;
  uint32_t error = 0;
  if (!target.Execute(f.cdb.data(), f.cdbLength, direction, data, f.dataTransferLength, outcome, error))
    return Fail(error);

  devcmd::PassThroughFields answered = f;
  answered.scsiStatus = outcome.scsiStatus;
  answered.dataTransferLength = outcome.transferred;
  devcmd::EncodePassThrough(devcmd::kNativePointerWidth, answered, system);
  const uint32_t senseBytes = std::min<uint32_t>(f.senseInfoLength, kSenseDataLength);
  if (outcome.scsiStatus == kStatusCheckCondition)
    std::memcpy(system.data() + f.senseInfoOffset, outcome.sense, senseBytes);
  std::memcpy(out, system.data(), outSize);
  return ControlAnswer{true, 0, outSize};
}

ControlAnswer AnswerStorageQuery(const void* in, uint32_t inSize, void* out, uint32_t outSize) {
  constexpr uint32_t kQuerySize = 12;  // property, query type, one parameter byte (padded)
  constexpr uint32_t kDeviceProperty = 0;
  constexpr uint32_t kAdapterProperty = 1;
  constexpr uint32_t kStandardQuery = 0;
  constexpr uint32_t kHeaderSize = 8;
  if (in == nullptr || inSize < kQuerySize || out == nullptr || outSize < kHeaderSize)
    return Fail(kErrorInvalidParameter);
  uint32_t property = 0, queryType = 0;
  std::memcpy(&property, in, 4);
  std::memcpy(&queryType, static_cast<const uint8_t*>(in) + 4, 4);
  if (queryType != kStandardQuery || (property != kDeviceProperty && property != kAdapterProperty))
    return Fail(kErrorInvalidFunction);

  std::vector<uint8_t> d;
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(d.data() + at, &v, 4); };
  if (property == kDeviceProperty) {
    // STORAGE_DEVICE_DESCRIPTOR without identification texts (their offsets
    // 0) and without raw properties.
    constexpr uint32_t kDeviceDescriptorSize = 40;
    d.assign(kDeviceDescriptorSize, 0);
    put32(0, kDeviceDescriptorSize);  // Version
    put32(4, kDeviceDescriptorSize);  // Size
    d[8] = 0x00;                      // DeviceType: direct access
    d[10] = 1;                        // RemovableMedia
    put32(28, 7);                     // BusType: USB
  } else {
    constexpr uint32_t kAdapterDescriptorSize = 32;
    d.assign(kAdapterDescriptorSize, 0);
    put32(0, kAdapterDescriptorSize);  // Version
    put32(4, kAdapterDescriptorSize);  // Size
    put32(8, 0x10000);                 // MaximumTransferLength
    put32(12, 17);                     // MaximumPhysicalPages
    put32(16, 1);                      // AlignmentMask
    d[24] = 7;                         // BusType: USB
    d[26] = 2;                         // BusMajorVersion
  }
  const uint32_t n = std::min<uint32_t>(outSize, static_cast<uint32_t>(d.size()));
  std::memcpy(out, d.data(), n);
  return ControlAnswer{true, 0, n};
}

ControlAnswer AnswerDriverRequest(const std::function<ScsiTarget*(int)>& targetFor, const void* in,
                                  uint32_t inSize, void* out, uint32_t outSize) {
  if (in == nullptr || inSize != sizeof(devcmd::DriverRequest)) return Fail(kErrorInvalidParameter);
  devcmd::DriverRequest r;
  std::memcpy(&r, in, sizeof(r));
  DataDirection direction;
  if (r.cdbAddress == 0 || r.cdbLength == 0 || r.cdbLength > devcmd::ptfield::kCdbSize || r.direction > 2 ||
      (r.dataLength != 0 && (r.dataAddress == 0 || out == nullptr || outSize != r.dataLength)) ||
      (r.senseLength != 0 && r.senseAddress == 0))
    return Fail(kErrorInvalidParameter);
  direction = static_cast<DataDirection>(r.direction);
  ScsiTarget* target = targetFor(r.drive);
  if (target == nullptr) return Fail(kErrorNotReady);

  // The driver works on the caller's memory through the 32-bit addresses.
  auto at = [](uint32_t address) { return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address)); };
  CommandOutcome outcome;
  uint32_t error = 0;
  if (!target->Execute(at(r.cdbAddress), r.cdbLength, direction, r.dataLength ? at(r.dataAddress) : nullptr,
                       r.dataLength, outcome, error))
    return Fail(error);
  if (outcome.scsiStatus == kStatusCheckCondition)
    std::memcpy(at(r.senseAddress), outcome.sense, std::min<uint32_t>(r.senseLength, kSenseDataLength));
  return ControlAnswer{true, 0, outcome.transferred};
}

}  // namespace scsiplayer
