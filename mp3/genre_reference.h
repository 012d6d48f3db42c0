// Genre texts that refer to the genre table: "(17)" stands for "Rock". Old
// writers stored the index in parentheses, sometimes followed by the name.
#pragma once

#include <string>

namespace mp3 {

// The genre a decoded genre text gives: when the text holds "(" and ")",
// the characters between the first "(" and the first ")" after it are read
// as an index; exactly "0" or a number from 1 to 147 (its leading decimal
// digits) gives that table entry. Every other text is the genre as it
// stands, "(RX)" and "(200)" included.
std::u16string ResolveGenreReference(const std::u16string& text);

}  // namespace mp3
