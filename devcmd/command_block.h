// The 512-byte command blocks that the vendor command moves to and from the
// player, and the layouts of the three commands that carry one. Multi-byte
// fields are most significant byte first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/hresult.h"
#include "devcmd/vantle.h"

namespace devcmd {

constexpr size_t kCommandBlockSize = 512;
using CommandBlock = std::array<uint8_t, kCommandBlockSize>;

// Offsets inside a block.
namespace block {
constexpr size_t kTag = 12;            // request: 0x0A
constexpr size_t kItemCode = 13;       // request: 16-bit item code
constexpr size_t kStatus = 15;         // request: 0x50; response: device status, 0 = success
constexpr size_t kPayloadLength = 16;  // request: 32-bit
constexpr size_t kSecondValue = 20;    // request: 32-bit
constexpr size_t kPayload = 24;

constexpr uint8_t kTagValue = 0x0A;
constexpr uint8_t kRequestMarker = 0x50;

// Owner name request: number, then a 24-byte name field.
constexpr uint16_t kUserNameItem = 1;
constexpr size_t kUserNumber = kPayload;    // 24-25
constexpr size_t kUserName = kPayload + 2;  // 26-49
constexpr size_t kUserNameField = 24;
constexpr size_t kUserNameRequestLength = kUserName + kUserNameField;  // 50 bytes sent
constexpr uint32_t kUserNamePayloadLength = 26;
constexpr uint32_t kUserNameSecondValue = 16;

// Preference menu request: the 16-byte record, its value at 36-37.
constexpr uint16_t kPreferenceMenuItem = 4;
constexpr size_t kMenuRecord = kPayload;                                                // 24-39
constexpr size_t kMenuRequestValue = kMenuRecord + offsetof(SETPREFERENCEMENU, value);  // 36-37
constexpr size_t kMenuRequestLength = kMenuRecord + sizeof(SETPREFERENCEMENU);          // 40 bytes sent
constexpr uint32_t kMenuPayloadLength = 16;

// Preference read response: the menu record at 36-51 (value at 48-49), the
// timer record at 52-71.
constexpr size_t kReplyMenu = 36;
constexpr size_t kReplyMenuValue = kReplyMenu + offsetof(SETPREFERENCEMENU, value);
constexpr size_t kReplyTimer = kReplyMenu + sizeof(SETPREFERENCEMENU);
constexpr size_t kPreferenceReplyLength = kReplyTimer + sizeof(SETPREFERENCETIMERREC);  // 72 bytes read
}  // namespace block

static_assert(block::kUserNameRequestLength == 50);
static_assert(block::kMenuRequestValue == 36 && block::kMenuRequestLength == 40);
static_assert(block::kReplyMenuValue == 48 && block::kReplyTimer == 52);
static_assert(block::kPreferenceReplyLength == 72);

// Block 0 of every call: all 0xFF, then the fixed header 00 E0 00 08 00 46
// AB AB 00 00 00 00, 0xFF at 15 and zero at 16-23; 12-14 stay 0xFF until a
// command sets them.
CommandBlock MakeRequestBlock();
// Block 1 of every call: all 0xFF until the device fills it.
CommandBlock MakeResponseBlock();

// Sets the request fields at 12-23: tag, item code, marker, payload length
// and second value.
void SetRequestHeader(CommandBlock& request, uint16_t itemCode, uint32_t payloadLength, uint32_t secondValue);

// Owner name request. The name with its terminating zero must fit the
// 24-byte field: kInvalidArg for a longer name, kPointer for none; the block
// is then left as it was.
HRESULT BuildUserNameRequest(uint16_t number, const char* name, CommandBlock& request);

// Preference menu request.
void BuildPreferenceMenuRequest(const SETPREFERENCEMENU& menu, CommandBlock& request);

// Reads the response to the preference read: the status byte. When it is 0
// the two records are filled from the block; otherwise they are untouched.
uint8_t ReadPreferenceReply(const CommandBlock& response, SETPREFERENCEMENU& menu,
                            SETPREFERENCETIMERREC& timer);

}  // namespace devcmd
