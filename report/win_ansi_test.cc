#include "report/win_ansi.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>

namespace {

// One code point as UTF-8.
std::string EncodeUtf8(uint32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

TEST(WinAnsiTest, TranscodesLikeTheSystemsCodePage1252) {
  // glibc's converter is the reference: every character it maps to a printable
  // byte must give that byte, everything else (controls included) '?'.
  iconv_t cd = iconv_open("CP1252", "UTF-32LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int mapped = 0;
  for (uint32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c > 0x3000 && c < 0xFB00) c = 0xFB00;  // nothing in between is in the code page
    if (c > 0xFFFF && c < 0x10FFF0) c = 0x10FFF0;
    unsigned char in[4] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                           static_cast<unsigned char>(c >> 16), 0};
    char out[8];
    char* in_ptr = reinterpret_cast<char*>(in);
    char* out_ptr = out;
    size_t in_left = 4, out_left = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool converted =
        iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1) &&
        out_ptr == out + 1;
    const unsigned char byte = static_cast<unsigned char>(out[0]);
    const bool printable = converted && ((byte >= 0x20 && byte < 0x7F) || byte >= 0x80);
    const std::string expected = printable ? std::string(1, out[0]) : "?";
    mapped += printable;
    ASSERT_EQ(expected, Utf8ToWinAnsi(EncodeUtf8(c))) << "U+" << std::hex << c;
  }
  iconv_close(cd);
  EXPECT_EQ(95 + 96 + 27, mapped);  // ASCII, Latin-1 upper half, the 27 extras
}

TEST(WinAnsiTest, MalformedUtf8BecomesOneQuestionMarkPerByte) {
  struct Case {
    const char* name;
    std::string input;
    std::string win_ansi;
  } cases[] = {
      {"stray continuation", "a\x80z", "a?z"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong three bytes", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"cut short at the end", "ok\xC3", "ok?"},
      {"lead followed by ASCII",
       "\xC3"
       "A",
       "?A"},
      {"Latin-1 text read as UTF-8", "M\xFCller", "M?ller"},
      {"valid after invalid", "\xFF\xC3\xA9", "?\xE9"},
      {"controls", "tab\there\x01\x7F", "tab?here??"},
      {"C1 control", "\xC2\x85", "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.win_ansi, Utf8ToWinAnsi(c.input)) << c.name;
}

TEST(WinAnsiTest, BookmarkTextUsesPdfDocEncoding) {
  struct Case {
    const char* input;
    std::string pdf_doc;
  } cases[] = {
      {"Stock", "Stock"},
      {"M\xC3\xBCller \xC3\x89t\xC3\xA9", "M\xFCller \xC9t\xE9"},  // Müller Été
      {"\xE2\x82\xAC 5", "\xA0 5"},                                // euro sign
      {"a\xC2\xA0"
       "b",
       "a b"},                                                   // no-break space
      {"\xE2\x80\xA2 \xE2\x80\x94 \xC5\x93", "\x80 \x84 \x9C"},  // bullet, em dash, oe
      {"soft\xC2\xADhyphen", "soft?hyphen"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},  // two CJK characters
      {"new\nline", "new?line"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pdf_doc, Utf8ToPdfDocEncoding(c.input)) << c.input;
}

TEST(WinAnsiTest, EveryByteGivesPrintableOutputThatFitsTheBuffer) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  for (const std::string& text : {all, Utf8ToWinAnsi(all)}) {
    for (const std::string& out : {Utf8ToWinAnsi(text), Utf8ToPdfDocEncoding(text)}) {
      EXPECT_LE(out.size(), text.size());
      for (unsigned char b : out) EXPECT_TRUE(b >= 0x20 && b != 0x7F) << int{b};
    }
  }
  // A short buffer cuts the result and still ends it with a zero.
  char buffer[4];
  EXPECT_EQ(3u, Utf8ToWinAnsi("\xC3\xA9t\xC3\xA9s", buffer, sizeof buffer));
  EXPECT_STREQ("\xE9t\xE9", buffer);
  EXPECT_EQ(0u, Utf8ToWinAnsi("abc", buffer, 1));
  EXPECT_STREQ("", buffer);
}

}  // namespace
