#include "app/html_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace app {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[at + i]) != prefix[i]) return false;
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

struct NamedReference {
  std::string_view name;
  uint32_t codePoint;
};

constexpr std::array<NamedReference, 14> kNamedReferences{{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
    {"nbsp", ' '},
    {"copy", 0xA9},
    {"ndash", 0x2013},
    {"mdash", 0x2014},
    {"hellip", 0x2026},
    {"lsquo", 0x2018},
    {"rsquo", 0x2019},
    {"ldquo", 0x201C},
    {"rdquo", 0x201D},
}};

// Decodes the character reference at html[at] ('&'). Returns the number of
// input bytes it took (0 when it is not a reference we know: the '&' then
// stays a plain character).
size_t DecodeReference(std::string_view html, size_t at, std::string& decoded) {
  // A reference is short: its ';' is looked for within a few characters
  // only, which also keeps a page full of lone '&' linear.
  constexpr size_t kLongestReference = 10;
  size_t semicolon = html.substr(0, std::min(html.size(), at + kLongestReference + 1)).find(';', at + 1);
  if (semicolon == std::string_view::npos) return 0;
  std::string_view body = html.substr(at + 1, semicolon - at - 1);
  if (body.size() >= 2 && body[0] == '#') {
    bool hex = body[1] == 'x' || body[1] == 'X';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    uint32_t cp = 0;
    for (char c : digits) {
      int v;
      if (c >= '0' && c <= '9')
        v = c - '0';
      else if (hex && c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
      else
        return 0;
      // At most 8 digits (the length check above), so no overflow; values
      // beyond Unicode become the replacement character.
      cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(v);
    }
    AppendUtf8(decoded, cp);
    return semicolon - at + 1;
  }
  for (const NamedReference& r : kNamedReferences) {
    if (body == r.name) {
      AppendUtf8(decoded, r.codePoint);
      return semicolon - at + 1;
    }
  }
  return 0;
}

enum class Break { kNone, kLine, kParagraph };

Break BreakFor(std::string_view name) {
  static constexpr std::array<std::string_view, 5> kLine{"br", "li", "tr", "dt", "dd"};
  static constexpr std::array<std::string_view, 25> kParagraph{
      "p",      "div", "h1",    "h2",      "h3",     "h4",         "h5",      "h6",      "ul",
      "ol",     "dl",  "table", "pre",     "hr",     "blockquote", "section", "article", "header",
      "footer", "nav", "main",  "address", "figure", "body",       "html"};
  if (std::find(kLine.begin(), kLine.end(), name) != kLine.end()) return Break::kLine;
  if (std::find(kParagraph.begin(), kParagraph.end(), name) != kParagraph.end()) return Break::kParagraph;
  return Break::kNone;
}

// Collects visible text, turning requested breaks and spaces into output
// only when more visible text follows, so nothing dangles at either end.
class TextWriter {
 public:
  void requestBreak(Break b) {
    if (b == Break::kParagraph)
      breaks_ = 2;
    else if (b == Break::kLine && breaks_ < 1)
      breaks_ = 1;
  }
  void requestSpace() { space_ = true; }
  void visible(std::string_view text) {
    if (text.empty()) return;
    if (!out_.empty()) {
      if (breaks_ > 0)
        out_.append(static_cast<size_t>(breaks_), '\n');
      else if (space_ && out_.back() != '\n')
        out_ += ' ';
    }
    breaks_ = 0;
    space_ = false;
    out_.append(text);
  }
  // Preformatted line break: kept even at the start of a line.
  void newline() {
    if (!out_.empty() && breaks_ < 2) ++breaks_;
  }
  // Blank or tab inside preformatted text; dropped at the very start.
  void preformattedSpace(char c) {
    if (!out_.empty() || breaks_ > 0) visible(std::string_view(&c, 1));
  }
  std::string take() {
    while (!out_.empty() && IsSpace(out_.back())) out_.pop_back();
    return std::move(out_);
  }

 private:
  std::string out_;
  int breaks_ = 0;
  bool space_ = false;
};

// The end of a tag that starts at html[at] ('<'): the index just past its
// '>', skipping '>' inside quoted attribute values; npos when unterminated.
size_t TagEnd(std::string_view html, size_t at) {
  char quote = 0;
  for (size_t i = at + 1; i < html.size(); ++i) {
    char c = html[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string HtmlToPlainText(std::string_view html) {
  TextWriter writer;
  int preDepth = 0;
  size_t i = 0;
  while (i < html.size()) {
    char c = html[i];
    if (c == '<') {
      if (html.compare(i, 4, "<!--") == 0) {
        size_t end = html.find("-->", i + 4);
        i = end == std::string_view::npos ? html.size() : end + 3;
        continue;
      }
      size_t nameStart = i + 1;
      bool closing = nameStart < html.size() && html[nameStart] == '/';
      if (closing) ++nameStart;
      size_t nameEnd = nameStart;
      while (nameEnd < html.size() && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
      if (nameEnd == nameStart && !(nameStart < html.size() && html[nameStart] == '!')) {
        // A '<' that opens no tag ("a < b") is text.
        writer.visible("<");
        ++i;
        continue;
      }
      size_t end = TagEnd(html, i);
      if (end == std::string_view::npos) break;  // an unterminated tag ends the page
      std::string name;
      for (size_t k = nameStart; k < nameEnd; ++k) name += Lower(html[k]);
      i = end;
      if (!closing && (name == "script" || name == "style" || name == "title")) {
        // Raw content up to the matching end tag; none means the rest.
        std::string endTag = "</" + name;
        size_t k = i;
        while (k < html.size() && !StartsWithNoCase(html, k, endTag)) ++k;
        size_t close = k < html.size() ? TagEnd(html, k) : std::string_view::npos;
        i = close == std::string_view::npos ? html.size() : close;
        continue;
      }
      if (name == "pre") preDepth = std::max(0, preDepth + (closing ? -1 : 1));
      if (name == "li" && !closing) {
        writer.requestBreak(Break::kLine);
        writer.visible("- ");
        continue;
      }
      writer.requestBreak(BreakFor(name));
      continue;
    }
    if (c == '&') {
      std::string decoded;
      size_t used = DecodeReference(html, i, decoded);
      if (used > 0) {
        writer.visible(decoded);
        i += used;
        continue;
      }
      writer.visible("&");
      ++i;
      continue;
    }
    if (IsSpace(c)) {
      if (preDepth > 0) {
        if (c == '\n')
          writer.newline();
        else if (c != '\r')
          writer.preformattedSpace(c);
      } else {
        writer.requestSpace();
      }
      ++i;
      continue;
    }
    size_t run = i;
    while (run < html.size() && html[run] != '<' && html[run] != '&' && !IsSpace(html[run])) ++run;
    writer.visible(html.substr(i, run - i));
    i = run;
  }
  return writer.take();
}

}  // namespace app
