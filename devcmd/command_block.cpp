#include "devcmd/command_block.h"

#include <cstring>

namespace devcmd {

namespace {

void PutU16(CommandBlock& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v);
}

void PutU32(CommandBlock& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

}  // namespace

CommandBlock MakeRequestBlock() {
  CommandBlock b = MakeResponseBlock();
  static constexpr uint8_t kFixed[] = {0x00, 0xE0, 0x00, 0x08, 0x00, 0x46,
                                       0xAB, 0xAB, 0x00, 0x00, 0x00, 0x00};
  std::memcpy(b.data(), kFixed, sizeof(kFixed));
  b[block::kStatus] = 0xFF;
  PutU32(b, block::kPayloadLength, 0);
  PutU32(b, block::kSecondValue, 0);
  return b;
}

CommandBlock MakeResponseBlock() {
  CommandBlock b;
  b.fill(0xFF);
  return b;
}

void SetRequestHeader(CommandBlock& request, uint16_t itemCode, uint32_t payloadLength,
                      uint32_t secondValue) {
  request[block::kTag] = block::kTagValue;
  PutU16(request, block::kItemCode, itemCode);
  request[block::kStatus] = block::kRequestMarker;
  PutU32(request, block::kPayloadLength, payloadLength);
  PutU32(request, block::kSecondValue, secondValue);
}

HRESULT BuildUserNameRequest(uint16_t number, const char* name, CommandBlock& request) {
  if (name == nullptr) return hr::kPointer;
  // Stops at the field's size, so a long or unterminated name is never read
  // further than that.
  size_t length = 0;
  while (length < block::kUserNameField && name[length] != '\0') ++length;
  if (length >= block::kUserNameField) return hr::kInvalidArg;

  SetRequestHeader(request, block::kUserNameItem, block::kUserNamePayloadLength, block::kUserNameSecondValue);
  PutU16(request, block::kUserNumber, number);
  std::memset(request.data() + block::kUserName, 0, block::kUserNameField);
  std::memcpy(request.data() + block::kUserName, name, length + 1);
  return hr::kOk;
}

void BuildPreferenceMenuRequest(const SETPREFERENCEMENU& menu, CommandBlock& request) {
  SetRequestHeader(request, block::kPreferenceMenuItem, block::kMenuPayloadLength, 0);
  std::memcpy(request.data() + block::kMenuRecord, &menu, sizeof(menu));
  PutU16(request, block::kMenuRequestValue, menu.value);
}

uint8_t ReadPreferenceReply(const CommandBlock& response, SETPREFERENCEMENU& menu,
                            SETPREFERENCETIMERREC& timer) {
  const uint8_t status = response[block::kStatus];
  if (status != 0) return status;
  std::memcpy(&menu, response.data() + block::kReplyMenu, sizeof(menu));
  menu.value = static_cast<unsigned short>(response[block::kReplyMenuValue] << 8 |
                                           response[block::kReplyMenuValue + 1]);
  std::memcpy(&timer, response.data() + block::kReplyTimer, sizeof(timer));
  return 0;
}

}  // namespace devcmd
