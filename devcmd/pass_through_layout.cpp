#include "devcmd/pass_through_layout.h"

#include <algorithm>

#include "devcmd/inquiry.h"

namespace devcmd {

namespace {

void Put(std::span<uint8_t> b, size_t at, uint64_t v, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t Get(std::span<const uint8_t> b, size_t at, size_t bytes) {
  uint64_t v = 0;
  for (size_t i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
  return v;
}

}  // namespace

uint8_t DataInCode(DataDirection direction) {
  switch (direction) {
    case DataDirection::kIn:
      return kDataInFromDevice;
    case DataDirection::kOut:
      return kDataInToDevice;
    case DataDirection::kNone:
      break;
  }
  return kDataInNone;
}

void EncodePassThrough(PointerWidth width, const PassThroughFields& f, std::span<uint8_t> block) {
  const PassThroughLayout l = LayoutFor(width);
  std::fill_n(block.begin(), l.headerSize, uint8_t{0});
  Put(block, ptfield::kLength, f.length, 2);
  block[ptfield::kScsiStatus] = f.scsiStatus;
  block[ptfield::kPathId] = f.pathId;
  block[ptfield::kTargetId] = f.targetId;
  block[ptfield::kLun] = f.lun;
  block[ptfield::kCdbLength] = f.cdbLength;
  block[ptfield::kSenseInfoLength] = f.senseInfoLength;
  block[ptfield::kDataIn] = f.dataIn;
  Put(block, ptfield::kDataTransferLength, f.dataTransferLength, 4);
  Put(block, ptfield::kTimeOutValue, f.timeOutValue, 4);
  Put(block, l.dataBufferField, f.dataBuffer, l.dataBufferFieldSize);
  Put(block, l.senseInfoOffsetField, f.senseInfoOffset, 4);
  std::copy(f.cdb.begin(), f.cdb.end(), block.begin() + l.cdbField);
}

PassThroughFields DecodePassThrough(PointerWidth width, std::span<const uint8_t> block) {
  const PassThroughLayout l = LayoutFor(width);
  PassThroughFields f;
  f.length = static_cast<uint16_t>(Get(block, ptfield::kLength, 2));
  f.scsiStatus = block[ptfield::kScsiStatus];
  f.pathId = block[ptfield::kPathId];
  f.targetId = block[ptfield::kTargetId];
  f.lun = block[ptfield::kLun];
  f.cdbLength = block[ptfield::kCdbLength];
  f.senseInfoLength = block[ptfield::kSenseInfoLength];
  f.dataIn = block[ptfield::kDataIn];
  f.dataTransferLength = static_cast<uint32_t>(Get(block, ptfield::kDataTransferLength, 4));
  f.timeOutValue = static_cast<uint32_t>(Get(block, ptfield::kTimeOutValue, 4));
  f.dataBuffer = Get(block, l.dataBufferField, l.dataBufferFieldSize);
  f.senseInfoOffset = static_cast<uint32_t>(Get(block, l.senseInfoOffsetField, 4));
  std::copy_n(block.begin() + l.cdbField, ptfield::kCdbSize, f.cdb.begin());
  return f;
}

PassThroughFields DirectRequestFields(PointerWidth width, std::span<const uint8_t> cdb,
                                      DataDirection direction, uint32_t transferLength, uint64_t dataAddress,
                                      uint32_t timeoutSeconds) {
  const PassThroughLayout l = LayoutFor(width);
  PassThroughFields f;
  f.length = static_cast<uint16_t>(l.headerSize);
  f.pathId = 0;
  f.targetId = 1;
  f.lun = 0;
  f.cdbLength = static_cast<uint8_t>(std::min(cdb.size(), ptfield::kCdbSize));
  f.senseInfoLength = 18;
  f.dataIn = DataInCode(direction);
  f.dataTransferLength = transferLength;
  f.timeOutValue = timeoutSeconds;
  f.dataBuffer = dataAddress;
  f.senseInfoOffset = static_cast<uint32_t>(l.senseArea);
  std::copy_n(cdb.begin(), f.cdbLength, f.cdb.begin());
  return f;
}

PassThroughFields BufferedInquiryFields(PointerWidth width, uint8_t allocationLength) {
  const PassThroughLayout l = LayoutFor(width);
  const InquiryCdb cdb = MakeInquiryCdb(allocationLength);
  PassThroughFields f;
  f.length = static_cast<uint16_t>(l.headerSize);
  f.targetId = 1;
  f.cdbLength = static_cast<uint8_t>(cdb.size());
  f.senseInfoLength = 24;
  f.dataIn = kDataInFromDevice;
  f.dataTransferLength = static_cast<uint32_t>(kBufferedDataSize);
  f.timeOutValue = 2;
  f.dataBuffer = l.dataArea;
  f.senseInfoOffset = static_cast<uint32_t>(l.senseArea);
  std::copy(cdb.begin(), cdb.end(), f.cdb.begin());
  return f;
}

}  // namespace devcmd
