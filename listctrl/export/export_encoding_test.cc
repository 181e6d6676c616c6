#include "listctrl/export/export_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportEncodingTest, CsvLinesQuoteOnlyRecordValuesWithACommaAfterDoublingQuotes) {
  struct Case {
    std::vector<std::string> texts;
    bool quote;
    std::string line;
  };
  const Case kCases[] = {
      {{"a,b", "ab"}, true, "\"a,b\",ab"},
      {{"say \"hi\"", "x"}, true, "say \"\"hi\"\",x"},
      {{"\"q\",r"}, true, "\"\"\"q\"\",r\""},
      {{"two\r\nlines", ""}, true, "two\r\nlines,"},
      {{"Name, First", "Age"}, false, "Name, First,Age"},
      {{"He said \"x\""}, false, "He said \"x\""},
      {{}, true, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(CsvLine(c.texts, c.quote), c.line);
  }
}

TEST(ExportEncodingTest, XmlTextKeepsLatin1AsBytesAndRefersToAllElse) {
  struct Case {
    std::string text, xml;
  };
  const Case kCases[] = {
      {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f"},
      {"|%s%% `ls`", "|%s%% `ls`"},
      {"caf\xC3\xA9 \xC2\xA0\xC3\xBF", "caf\xE9 \xA0\xFF"},
      {"\xE2\x82\xAC \xF0\x9F\x98\x80 \xC4\x80", "&#8364; &#128512; &#256;"},
      {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
      {std::string("n\0l\x01\x1F\x7F", 6), "n&#65533;l&#65533;&#65533;\x7F"},
      {"\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD", "&#65533;&#65533;&#65533;"},
      // Stray continuation, cut sequence, overlong '/', surrogate, past U+10FFFF.
      {"\x80x\xE2\x82", "&#65533;x&#65533;&#65533;"},
      {"\xC0\xAF\xED\xA0\x80", "&#65533;&#65533;&#65533;&#65533;&#65533;"},
      {"\xF4\x90\x80\x80\xFF", "&#65533;&#65533;&#65533;&#65533;&#65533;"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.xml);
    EXPECT_EQ(XmlText(c.text), c.xml);
  }
}

TEST(ExportEncodingTest, XmlRecordIsOneFieldLinePerHeaderBetweenRecordLines) {
  EXPECT_EQ(XmlRecord({"Id", "A \"b\""}, {"1", "<x>"}),
            "<record>\r\n<field name=\"Id\">1</field>\r\n"
            "<field name=\"A &quot;b&quot;\">&lt;x&gt;</field>\r\n</record>\r\n");
  EXPECT_EQ(XmlRecord({"Id", "B"}, {"1"}),
            "<record>\r\n<field name=\"Id\">1</field>\r\n<field name=\"B\"></field>\r\n</record>\r\n");
}

}  // namespace
