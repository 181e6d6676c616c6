#include "listctrl/export/export_encoding.h"

#include <gtest/gtest.h>

TEST(ExportEncodingTest, XmlTextRefersToWhatLatin1CannotHoldAndReplacesWhatXmlCannot) {
  const std::pair<std::string, std::string> kCases[] = {
      {"|%s `ls` \xC3\xBF\xC4\x80 \xF0\x9F\x98\x80", "|%s `ls` \xFF&#256; &#128512;"},
      {std::string("n\0l\x01\x1F\x7F\xEF\xBF\xBE\xEF\xBF\xBD", 12),
       "n&#65533;l&#65533;&#65533;\x7F&#65533;&#65533;"},
      {"\x80\xC0\xAFx\xE2\x82", "&#65533;&#65533;&#65533;x&#65533;"},  // stray, overlong, cut (one piece)
      {"\xED\xA0\x80\xF4\x90\x80\x80", "&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;"}};
  for (const auto& [text, xml] : kCases) EXPECT_EQ(XmlText(text), xml);  // surrogate, too high ^
}
