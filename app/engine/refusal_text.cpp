#include "app/engine/refusal_text.h"

#include <string>

#include "app/message_ids.h"
#include "platform/codepage.h"
#include "platform/system.h"

namespace app::engine {
namespace {

struct EnglishText {
  unsigned id;
  const char16_t* text;
};

// Kept word for word equal to the message module's texts of these numbers
// (the message id check compares them), so a script reading the tools'
// output sees what the window shows.
constexpr EnglishText kEnglishTexts[] = {
    {msg::kRefusedByName, u"not an MP3 file by its name"},
    {msg::kRefusedUnreadable, u"cannot be read"},
    {msg::kRefusedNotMpegAudio, u"not MPEG audio"},
    {msg::kRefusedBitRate, u"bit rate outside 32-320 kbit/s"},
    {msg::kRefusedTooManyAlbums, u"folder skipped: the player already holds 4,096 albums"},
    {msg::kMoreRefusedBefore, u"and"},
    {msg::kMoreRefusedAfter, u"more"},
};

std::u16string Ascii16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The system's own words for an error code, without the trailing line
// break or full stop, so they read as the end of a line.
std::u16string SystemReason(uint32_t code) {
  std::u16string reason;
  sys::ToUtf16(sys::kAnsiCodePage, sys::ErrorText(code), reason);
  while (!reason.empty() &&
         (reason.back() == u'\n' || reason.back() == u'\r' || reason.back() == u' ' || reason.back() == u'.'))
    reason.pop_back();
  return reason;
}

}  // namespace

std::u16string EnglishRefusalText(unsigned messageId) {
  for (const EnglishText& entry : kEnglishTexts) {
    if (entry.id == messageId) return entry.text;
  }
  return {};
}

std::u16string RefusalText(const mp3::RefusalReason& reason, const MessageTextSource& texts) {
  switch (reason.cause) {
    case mp3::RefusalCause::kNotMp3Name:
      return texts(msg::kRefusedByName);
    case mp3::RefusalCause::kNotMpegAudio:
      return texts(msg::kRefusedNotMpegAudio);
    case mp3::RefusalCause::kBitRate: {
      // Rates off the MPEG tables' kbit/s grid still show exactly.
      const std::string rate = reason.bitRate % 1000 == 0 ? std::to_string(reason.bitRate / 1000) + " kbit/s"
                                                          : std::to_string(reason.bitRate) + " bit/s";
      return texts(msg::kRefusedBitRate) + u": " + Ascii16(rate);
    }
    case mp3::RefusalCause::kTooManyAlbums:
      return texts(msg::kRefusedTooManyAlbums);
    case mp3::RefusalCause::kUnreadable:
      break;
  }
  std::u16string text = texts(msg::kRefusedUnreadable);
  if (reason.systemError != 0) {
    const std::u16string why = SystemReason(reason.systemError);
    if (!why.empty()) text += u": " + why;
  }
  return text;
}

}  // namespace app::engine
