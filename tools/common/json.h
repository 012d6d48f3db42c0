// Minimal JSON output for the command-line tools: one object per line.
#pragma once

#include <cstdint>
#include <string>

namespace tools {

// A JSON string literal (quotes included) for UTF-8 text.
inline std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          static const char* kHex = "0123456789abcdef";
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// Lowercase hexadecimal of a byte string.
inline std::string HexBytes(const uint8_t* data, size_t count) {
  static const char* kHex = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    out += kHex[data[i] >> 4];
    out += kHex[data[i] & 15];
  }
  return out;
}

}  // namespace tools
