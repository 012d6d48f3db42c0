// The wizard's INQUIRY: the 12-byte request for 56 bytes and what it reads
// from the answer to recognise the player.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace wizard {

constexpr size_t kInquiryAnswerLength = 56;
constexpr size_t kInquiryRequestLength = 12;
constexpr uint32_t kInquiryTimeoutSeconds = 90;
// The player's name in the vendor-specific bytes 36-43.
constexpr char kPlayerName[] = "QUINTAD2";

struct InquiryInfo {
  std::string vendor;          // bytes 8-15
  std::string product;         // bytes 16-31
  std::string revision;        // bytes 32-35
  std::string vendorSpecific;  // bytes 36-43, trailing blanks removed
  int deviceCap = 0;           // bit 3 of byte 44
};

// 12 00 00 00 38 00 ... 00: a standard INQUIRY asking for 56 bytes, sent in
// a 12-byte block.
std::array<uint8_t, kInquiryRequestLength> MakeWizardInquiryRequest();

// answer holds at least kInquiryAnswerLength bytes.
InquiryInfo ParseInquiryInfo(std::span<const uint8_t, kInquiryAnswerLength> answer);

}  // namespace wizard
