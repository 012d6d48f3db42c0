// Plain text of an HTML page, for showing the help page in a plain text
// control where no HTML engine is available. Handles what a hand-written
// help page uses: paragraphs, headings, lists, line breaks, preformatted
// text, comments, character references; skips scripts, styles and the
// title. Any input is safe: unterminated tags and references are cut or kept
// as text, and the work is linear in the input's length.
#pragma once

#include <string>
#include <string_view>

namespace app {

// html in UTF-8; the result is UTF-8 with '\n' line breaks, at most one
// empty line in a row, no leading or trailing white space.
std::string HtmlToPlainText(std::string_view html);

}  // namespace app
