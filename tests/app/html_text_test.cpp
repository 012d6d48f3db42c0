#include "app/html_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using app::HtmlToPlainText;

TEST(HtmlText, BlocksBecomeParagraphsAndInlineMarkupDisappears) {
  EXPECT_EQ(HtmlToPlainText("<html><head><title>Help</title></head><body>"
                            "<h1>Pellmark   help</h1><p>Drop <b>MP3</b> files\n  here.</p>"
                            "<p>Second<br>line</p></body></html>"),
            "Pellmark help\n\nDrop MP3 files here.\n\nSecond\nline");
}

TEST(HtmlText, ListItemsGetADashEach) {
  EXPECT_EQ(HtmlToPlainText("<p>Steps:</p><ul><li>one</li><li>two <i>words</i></li></ul><p>end</p>"),
            "Steps:\n\n- one\n- two words\n\nend");
}

TEST(HtmlText, ScriptsStylesCommentsAndDeclarationsAreSkipped) {
  EXPECT_EQ(HtmlToPlainText("<!DOCTYPE html><style>p { color: red }</style><!-- a <p>comment</p> -->"
                            "<SCRIPT>if (a < b) x = '</p>';</SCRIPT>text"),
            "text");
}

TEST(HtmlText, CharacterReferences) {
  EXPECT_EQ(HtmlToPlainText("a &amp; b &lt;c&gt; &quot;d&quot; &#65;&#x42;&#X43;"), "a & b <c> \"d\" ABC");
  EXPECT_EQ(HtmlToPlainText("&copy; 2026"), "\xC2\xA9 2026");
  EXPECT_EQ(HtmlToPlainText("&#x6771;"), "\xE6\x9D\xB1");
  // Unknown, unterminated and out-of-range references.
  EXPECT_EQ(HtmlToPlainText("&unknown; & &amp"), "&unknown; & &amp");
  EXPECT_EQ(HtmlToPlainText("&#0;&#xD800;&#99999999;"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(HtmlToPlainText("&#;&#x;&#12a;"), "&#;&#x;&#12a;");
}

TEST(HtmlText, PreformattedTextKeepsItsLines) {
  EXPECT_EQ(HtmlToPlainText("<p>before</p><pre>  a  b\n  c</pre><p>after</p>"),
            "before\n\n  a  b\n  c\n\nafter");
}

TEST(HtmlText, BrokenMarkupIsSafe) {
  EXPECT_EQ(HtmlToPlainText(""), "");
  EXPECT_EQ(HtmlToPlainText("a < b and c<"), "a < b and c<");
  EXPECT_EQ(HtmlToPlainText("text <p unterminated"), "text");
  EXPECT_EQ(HtmlToPlainText("<a href=\"x>y\">link</a> after"), "link after");
  EXPECT_EQ(HtmlToPlainText("<script>never closed"), "");
  EXPECT_EQ(HtmlToPlainText("<!-- never closed"), "");
  EXPECT_EQ(HtmlToPlainText("   \n\t "), "");
}

TEST(HtmlText, LargeInputStaysLinear) {
  // Many unterminated references and lone '<' must not make it quadratic.
  std::string html;
  for (int i = 0; i < 20000; ++i) html += "&x < ";
  std::string text = HtmlToPlainText(html);
  EXPECT_EQ(text.size(), 20000u * 5 - 1);
}

}  // namespace
