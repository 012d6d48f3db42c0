#include "devcmd/inquiry.h"

#include <cstring>

namespace devcmd {

InquiryCdb MakeInquiryCdb(uint8_t allocationLength) {
  return InquiryCdb{kInquiryOperationCode, 0, 0, 0, allocationLength, 0};
}

void FormatInquiryText(const uint8_t (&inquiry)[kInquiryTextSource], char (&text)[kInquiryTextSize]) {
  std::memcpy(text, inquiry + 8, 8);
  text[8] = ' ';
  std::memcpy(text + 9, inquiry + 16, 16);
  text[25] = ' ';
  std::memcpy(text + 26, inquiry + 32, 4);
  text[30] = '\0';
}

}  // namespace devcmd
