// Code-page conversion through iconv, for the native build.
#include <iconv.h>

#include <atomic>
#include <cerrno>

#include "platform/codepage.h"
#include "platform/codepage_detail.h"

namespace sys {

namespace {

constexpr uint32_t kDefaultAnsiCodePage = 1252;
std::atomic<uint32_t> g_ansiCodePage{kDefaultAnsiCodePage};

const char* IconvName(uint32_t codePage) {
  if (codePage == kAnsiCodePage) codePage = g_ansiCodePage.load();
  switch (codePage) {
    case 932:
      return "CP932";
    case 936:
      return "CP936";
    case 949:
      return "CP949";
    case 950:
      return "CP950";
    case 1252:
      return "CP1252";
    case kUtf8CodePage:
      return "UTF-8";
    default:
      return nullptr;
  }
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Converts all of in; false when some input could not be converted.
  bool convert(const char* in, size_t inSize, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    char buffer[256];
    char* src = const_cast<char*>(in);
    size_t left = inSize;
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    char* dst = buffer;
    size_t room = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return true;
  }
  // Bytes of one leading character that converts, or 0.
  size_t leadingCharLength(const char* in, size_t inSize) {
    for (size_t len = 1; len <= 4 && len <= inSize; ++len) {
      std::string out;
      if (convert(in, len, out) && !out.empty()) return len;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

std::u16string FromLittleEndianBytes(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return out;
}

}  // namespace

uint32_t AnsiCodePage() { return g_ansiCodePage.load(); }

void SetAnsiCodePage(uint32_t codePage) {
  g_ansiCodePage.store(codePage == kAnsiCodePage ? kDefaultAnsiCodePage : codePage);
}

bool ToUtf16(uint32_t codePage, const std::string& narrow, std::u16string& out, size_t maxUnits) {
  const char* name = IconvName(codePage);
  if (!name) return false;
  if (std::string(name) == "UTF-8") {
    out = Utf16FromUtf8(narrow);
    CapUtf16(out, maxUnits);
    return true;
  }
  Iconv cv("UTF-16LE", name);
  if (!cv.ok()) return false;
  out.clear();
  std::string bytes;
  // Convert character by character where the whole text does not convert,
  // so that an invalid byte costs one U+FFFD and not the rest of the text.
  if (cv.convert(narrow.data(), narrow.size(), bytes)) {
    out = FromLittleEndianBytes(bytes);
  } else {
    for (size_t i = 0; i < narrow.size();) {
      size_t len = cv.leadingCharLength(narrow.data() + i, narrow.size() - i);
      if (len == 0) {
        out += u'\xFFFD';
        ++i;
        continue;
      }
      cv.convert(narrow.data() + i, len, bytes);
      out += FromLittleEndianBytes(bytes);
      i += len;
    }
  }
  CapUtf16(out, maxUnits);
  return true;
}

bool FromUtf16(uint32_t codePage, const std::u16string& text, std::string& out, size_t maxBytes,
               char replacement) {
  const char* name = IconvName(codePage);
  if (!name) return false;
  Iconv cv(name, "UTF-16LE");
  if (!cv.ok()) return false;
  out.clear();
  std::string piece;
  for (size_t i = 0; i < text.size();) {
    size_t units = detail::CharUnits(text, i);
    std::string le;
    for (size_t k = 0; k < units; ++k) {
      le += static_cast<char>(text[i + k] & 0xFF);
      le += static_cast<char>(text[i + k] >> 8);
    }
    if (!cv.convert(le.data(), le.size(), piece) || piece.empty()) piece.assign(1, replacement);
    if (out.size() + piece.size() > maxBytes) break;
    out += piece;
    i += units;
  }
  return true;
}

}  // namespace sys
