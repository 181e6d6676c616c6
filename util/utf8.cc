#include "util/utf8.h"

#include <cstdint>

char32_t DecodeUtf8(std::string_view text, size_t* at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t lead = byte(*at);
  if (lead < 0x80) {
    ++*at;
    return lead;
  }
  int continuation;
  char32_t code;
  uint8_t low = 0x80, high = 0xBF;  // the range allowed for the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuation = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    ++*at;
    return kUtf8Invalid;
  }
  size_t i = *at + 1;
  for (int n = 0; n < continuation; ++n, ++i) {
    if (i >= text.size() || byte(i) < low || byte(i) > high) {
      *at = i;  // the lead and the valid continuation bytes so far
      return kUtf8Invalid;
    }
    code = (code << 6) | (byte(i) & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  *at = i;
  return code;
}

std::string PrintableUtf8(std::string_view text) {
  std::string printable;
  printable.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const char32_t c = DecodeUtf8(text, &at);
    if (c == kUtf8Invalid)
      printable += "\xEF\xBF\xBD";
    else if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
      printable += ' ';
    else
      printable.append(text.substr(start, at - start));
  }
  return printable;
}
