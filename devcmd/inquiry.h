// The standard INQUIRY request and the identification text made from its
// answer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace devcmd {

constexpr uint8_t kInquiryOperationCode = 0x12;
constexpr size_t kInquiryCdbLength = 6;
// The text needs the first 36 bytes of the answer: vendor at 8-15, product
// at 16-31, revision at 32-35.
constexpr size_t kInquiryTextSource = 36;
constexpr size_t kInquiryTextSize = 31;

using InquiryCdb = std::array<uint8_t, kInquiryCdbLength>;

// 12 00 00 00 length 00. The allocation length of the 6-byte form is one
// byte, so no more than 255 bytes can be asked for.
InquiryCdb MakeInquiryCdb(uint8_t allocationLength);

// Vendor, a blank, product, a blank, revision and a terminating zero, the
// fields copied as the device sent them (its own padding included).
void FormatInquiryText(const uint8_t (&inquiry)[kInquiryTextSource], char (&text)[kInquiryTextSize]);

}  // namespace devcmd
