#include "report/win_ansi.h"

#include <cstdint>

#include "util/utf8.h"

namespace {

constexpr char kReplacement = '?';

// The characters both encodings place outside the Latin-1 layout, by byte.
struct SpecialByte {
  uint32_t code_point;
  unsigned char byte;
};

// Windows code page 1252, bytes 0x80 to 0x9F (0x81, 0x8D, 0x8F, 0x90, 0x9D unused).
constexpr SpecialByte kWinAnsiSpecials[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
};

// PDFDocEncoding, bytes 0x80 to 0xA0 (0x9F unused; 0xA0 is the euro sign).
constexpr SpecialByte kPdfDocSpecials[] = {
    {0x2022, 0x80}, {0x2020, 0x81}, {0x2021, 0x82}, {0x2026, 0x83}, {0x2014, 0x84}, {0x2013, 0x85},
    {0x0192, 0x86}, {0x2044, 0x87}, {0x2039, 0x88}, {0x203A, 0x89}, {0x2212, 0x8A}, {0x2030, 0x8B},
    {0x201E, 0x8C}, {0x201C, 0x8D}, {0x201D, 0x8E}, {0x2018, 0x8F}, {0x2019, 0x90}, {0x201A, 0x91},
    {0x2122, 0x92}, {0xFB01, 0x93}, {0xFB02, 0x94}, {0x0141, 0x95}, {0x0152, 0x96}, {0x0160, 0x97},
    {0x0178, 0x98}, {0x017D, 0x99}, {0x0131, 0x9A}, {0x0142, 0x9B}, {0x0153, 0x9C}, {0x0161, 0x9D},
    {0x017E, 0x9E}, {0x20AC, 0xA0},
};

template <size_t N>
char LookUpSpecial(const SpecialByte (&table)[N], uint32_t code_point) {
  for (const SpecialByte& entry : table) {
    if (entry.code_point == code_point) return static_cast<char>(entry.byte);
  }
  return kReplacement;
}

char ToWinAnsiByte(uint32_t c) {
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  return LookUpSpecial(kWinAnsiSpecials, c);
}

char ToPdfDocByte(uint32_t c) {
  if (c == 0xA0) return ' ';  // the no-break space: 0xA0 means the euro sign here
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFF && c != 0xAD))
    return static_cast<char>(c);
  return LookUpSpecial(kPdfDocSpecials, c);
}

template <char (*ToByte)(uint32_t)>
size_t Transcode(std::string_view utf8, char* out, size_t out_size) {
  if (out_size == 0) return 0;
  size_t written = 0;
  size_t pos = 0;
  while (pos < utf8.size() && written + 1 < out_size) {
    const unsigned char lead = static_cast<unsigned char>(utf8[pos]);
    if (lead >= 0x20 && lead < 0x7F) {  // the common case: printable ASCII
      out[written++] = static_cast<char>(lead);
      ++pos;
      continue;
    }
    // An invalid piece becomes one '?' per byte: the bytes after a bad lead byte
    // are read afresh, as they were written.
    const size_t start = pos;
    const char32_t c = DecodeUtf8(utf8, &pos);
    if (c == kUtf8Invalid) pos = start + 1;
    out[written++] = c == kUtf8Invalid ? kReplacement : ToByte(c);
  }
  out[written] = '\0';
  return written;
}

template <char (*ToByte)(uint32_t)>
std::string TranscodeToString(std::string_view utf8) {
  std::string result(utf8.size() + 1, '\0');
  result.resize(Transcode<ToByte>(utf8, result.data(), result.size()));
  return result;
}

}  // namespace

size_t Utf8ToWinAnsi(std::string_view utf8, char* out, size_t out_size) {
  return Transcode<ToWinAnsiByte>(utf8, out, out_size);
}

size_t Utf8ToPdfDocEncoding(std::string_view utf8, char* out, size_t out_size) {
  return Transcode<ToPdfDocByte>(utf8, out, out_size);
}

std::string Utf8ToWinAnsi(std::string_view utf8) { return TranscodeToString<ToWinAnsiByte>(utf8); }

std::string Utf8ToPdfDocEncoding(std::string_view utf8) {
  return TranscodeToString<ToPdfDocByte>(utf8);
}
