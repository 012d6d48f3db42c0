// The words for why a dropped file was skipped. The cause is a code
// (mp3::RefusalReason) everywhere inside; this is the one place it becomes
// text, from whichever source of message texts the caller has: the message
// module in the window, the English texts below in the tools and the log.
#pragma once

#include <functional>
#include <string>

#include "mp3/refusal_cause.h"

namespace app::engine {

// The text of a message number.
using MessageTextSource = std::function<std::u16string(unsigned messageId)>;

// The English texts of the refusal messages (the msg::kRefusedByName group and the
// "more" line's two parts); empty for any other number. The message module
// holds the same texts, which the test run checks.
std::u16string EnglishRefusalText(unsigned messageId);

// "not MPEG audio", "bit rate outside 32-320 kbit/s: 8 kbit/s",
// "cannot be read: Access denied." and so on.
std::u16string RefusalText(const mp3::RefusalReason& reason, const MessageTextSource& texts);

}  // namespace app::engine
