#include "wizard/inquiry_info.h"

namespace wizard {
namespace {

std::string Field(std::span<const uint8_t, kInquiryAnswerLength> answer, size_t from, size_t length) {
  return std::string(reinterpret_cast<const char*>(answer.data() + from), length);
}

}  // namespace

std::array<uint8_t, kInquiryRequestLength> MakeWizardInquiryRequest() {
  std::array<uint8_t, kInquiryRequestLength> cdb{};
  cdb[0] = 0x12;
  cdb[4] = static_cast<uint8_t>(kInquiryAnswerLength);
  return cdb;
}

InquiryInfo ParseInquiryInfo(std::span<const uint8_t, kInquiryAnswerLength> answer) {
  InquiryInfo info;
  info.vendor = Field(answer, 8, 8);
  info.product = Field(answer, 16, 16);
  info.revision = Field(answer, 32, 4);
  info.vendorSpecific = Field(answer, 36, 8);
  while (!info.vendorSpecific.empty() && info.vendorSpecific.back() == ' ') info.vendorSpecific.pop_back();
  info.deviceCap = (answer[44] >> 3) & 1;
  return info;
}

}  // namespace wizard
