#include "listctrl/export/export_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportEncodingTest, CsvEnclosesOnlyRecordValuesWithACommaAfterDoublingQuotes) {
  const std::tuple<std::vector<std::string>, bool, std::string> kCases[] = {
      {{"a,b", "ab"}, true, "\"a,b\",ab"},
      {{"say \"hi\"", "\"q\",r"}, true, "say \"\"hi\"\",\"\"\"q\"\",r\""},
      {{"Name, First", "He \"x\""}, false, "Name, First,He \"x\""}};
  for (const auto& [texts, quote, line] : kCases) EXPECT_EQ(CsvLine(texts, quote), line);
}

TEST(ExportEncodingTest, XmlKeepsLatin1AsBytesAndRefersToAllElse) {
  const std::pair<std::string, std::string> kCases[] = {
      {"a&b<c>d\"e'f |%s%% `ls`", "a&amp;b&lt;c&gt;d&quot;e&apos;f |%s%% `ls`"},
      {"caf\xC3\xA9 \xC2\xA0\xC3\xBF", "caf\xE9 \xA0\xFF"},
      {"\xE2\x82\xAC \xF0\x9F\x98\x80 \xC4\x80", "&#8364; &#128512; &#256;"},
      {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
      {std::string("n\0l\x01\x1F\x7F", 6), "n&#65533;l&#65533;&#65533;\x7F"},
      {"\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD", "&#65533;&#65533;&#65533;"},
      // Stray continuation, cut sequence, overlong '/', surrogate, past U+10FFFF.
      {"\x80x\xE2\x82", "&#65533;x&#65533;&#65533;"},
      {"\xC0\xAF\xED\xA0\x80", "&#65533;&#65533;&#65533;&#65533;&#65533;"},
      {"\xF4\x90\x80\x80\xFF", "&#65533;&#65533;&#65533;&#65533;&#65533;"}};
  for (const auto& [text, xml] : kCases) EXPECT_EQ(XmlText(text), xml);
}

}  // namespace
