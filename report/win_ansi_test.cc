#include "report/win_ansi.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

std::string EncodeUtf8(char32_t c) {
  const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  const unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
  std::string s(1, static_cast<char>(lead[extra] | (c >> (6 * extra))));
  for (int i = extra - 1; i >= 0; --i) s += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
  return s;
}

TEST(WinAnsiTest, TranscodesLikeTheSystemsCodePage1252) {
  // glibc's converter is the reference: every character it maps to a printable
  // byte must give that byte, everything else (controls included) '?'.
  iconv_t cd = iconv_open("CP1252", "UTF-32LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int mapped = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c > 0x3000 && c < 0xFB00) c = 0xFB00;  // nothing in between is in the code page
    if (c > 0xFFFF && c < 0x10FFF0) c = 0x10FFF0;
    char32_t in = c;
    char out[8], *in_ptr = reinterpret_cast<char*>(&in), *out_ptr = out;
    size_t in_left = 4, out_left = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool converted =
        iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1) &&
        out_ptr == out + 1;
    const unsigned char byte = static_cast<unsigned char>(out[0]);
    const bool printable = converted && ((byte >= 0x20 && byte < 0x7F) || byte >= 0x80);
    mapped += printable;
    ASSERT_EQ(printable ? std::string(1, out[0]) : "?", Utf8ToWinAnsi(EncodeUtf8(c)))
        << "U+" << std::hex << static_cast<uint32_t>(c);
  }
  iconv_close(cd);
  EXPECT_EQ(95 + 96 + 27, mapped);  // ASCII, Latin-1 upper half, the 27 extras
}

TEST(WinAnsiTest, MalformedUtf8BecomesOneQuestionMarkPerByte) {
  struct Case {
    std::string input, win_ansi;
  } cases[] = {
      {"a\x80z", "a?z"},       {"\xE0\x80\xAF", "???"}, {"\xED\xA0\x80", "???"},
      {"\xC3" "A", "?A"},      {"\xFF\xC3\xA9", "?\xE9"}, {"tab\t\x01\x7F\xC2\x85", "tab????"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.win_ansi, Utf8ToWinAnsi(c.input)) << c.input;
  // A short buffer cuts the result and still ends it with a zero.
  char buffer[4];
  EXPECT_EQ(3u, Utf8ToWinAnsi("\xC3\xA9t\xC3\xA9s", buffer, sizeof buffer));
  EXPECT_STREQ("\xE9t\xE9", buffer);
}

TEST(WinAnsiTest, BookmarkTextUsesPdfDocEncoding) {
  struct Case {
    const char* input;
    std::string pdf_doc;
  } cases[] = {
      {"a\xC2\xA0" "b", "a b"},                                  // no-break space
      {"\xE2\x80\xA2 \xE2\x80\x94 \xC5\x93", "\x80 \x84 \x9C"},  // bullet, em dash, oe
      {"soft\xC2\xADhyphen", "soft?hyphen"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},
      {"new\nline", "new?line"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pdf_doc, Utf8ToPdfDocEncoding(c.input)) << c.input;
}

}  // namespace
