#include "tools/vendor/rss_text.h"

#include <cstdio>
#include <ctime>

namespace {

// Length of the valid UTF-8 sequence at `text[i]`, or 0 when it is not one.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length;
  unsigned min;
  unsigned value;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  bool not_a_character = value == 0xFFFE || value == 0xFFFF;
  if (value < min || value > 0x10FFFF || surrogate || not_a_character) return 0;
  return length;
}

}  // namespace

std::string XmlEscape(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned char c = text[i];
    size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      escaped += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (length > 1) {
      escaped.append(text, i, length);
    } else if (c == '&') {
      escaped += "&amp;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else if (c == '"') {
      escaped += "&quot;";
    } else if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
      escaped += static_cast<char>(c);
    }
    i += length;
  }
  return escaped;
}

std::string Rfc822Date(const std::string& stamp) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  struct tm fields = {};
  const char* end = strptime(stamp.c_str(), "%Y-%m-%d %H:%M:%S", &fields);
  if (end == nullptr || *end != '\0') return std::string();
  // The stored fields are the server's wall clock; timegm only supplies the
  // weekday and rejects impossible dates by normalising them.
  struct tm normalised = fields;
  if (timegm(&normalised) == -1 || normalised.tm_mday != fields.tm_mday ||
      normalised.tm_mon != fields.tm_mon)
    return std::string();
  char text[64];
  snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[normalised.tm_wday],
           fields.tm_mday, kMonths[fields.tm_mon], fields.tm_year + 1900, fields.tm_hour,
           fields.tm_min, fields.tm_sec);
  return text;
}
