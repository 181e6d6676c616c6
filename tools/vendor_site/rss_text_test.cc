#include "tools/vendor_site/rss_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XmlEscapeTest, AlwaysGivesWellFormedCharacterData) {
  struct Case {
    std::string text, escaped;
  } const kCases[] = {
      {"Totals < 0 & \"more\" > 1", "Totals &lt; 0 &amp; &quot;more&quot; &gt; 1"},
      {"Caf\xC3\xA9 \xE6\x9D\xB1 \xF0\x9F\x93\xA6", "Caf\xC3\xA9 \xE6\x9D\xB1 \xF0\x9F\x93\xA6"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {std::string("nul\0bell\a", 9), "nulbell"},
      {"latin1 caf\xE9!", "latin1 caf\xEF\xBF\xBD!"},
      {"cut \xE6\x9D", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"not a character \xEF\xBF\xBF", "not a character \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : kCases) {
    std::string appended = "<d>";  // a feed builds in one buffer
    AppendXmlEscaped(c.text, &appended);
    EXPECT_EQ(appended, "<d>" + c.escaped) << c.text;
  }
}

}  // namespace
