#include "report/workbook_text.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the UTF-8 character at text[*at] and advances *at past it. For an invalid
// sequence returns kInvalid and advances past its maximal invalid piece (at least
// one byte), so that each piece is replaced once.
char32_t DecodeCharacter(std::string_view text, size_t* at) {
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
    return kInvalid;
  }
  size_t i = *at + 1;
  for (int n = 0; n < continuation; ++n, ++i) {
    if (i >= text.size() || byte(i) < low || byte(i) > high) {
      *at = i;  // the lead and the valid continuation bytes so far
      return kInvalid;
    }
    code = (code << 6) | (byte(i) & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  *at = i;
  return code;
}

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when `text` at `at` reads "_xHHHH_", which spreadsheet programs would decode.
bool StartsEscape(std::string_view text, size_t at) {
  if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
    return false;
  for (size_t i = at + 2; i < at + 6; ++i)
    if (!IsHexDigit(text[i])) return false;
  return true;
}

bool IsNonCharacter(char32_t code) { return code == 0xFFFE || code == 0xFFFF; }

}  // namespace

void AssignWorkbookCellText(std::string_view value, std::string* out) {
  out->clear();
  size_t characters = 0;  // characters of *out
  size_t at = 0;
  while (at < value.size()) {
    // Printable ASCII other than '_' is by far the most common: copy it as it is.
    uint8_t first = static_cast<uint8_t>(value[at]);
    if (first >= 0x20 && first < 0x7F && first != '_') {
      if (characters == kWorkbookMaxCellCharacters) break;
      out->push_back(static_cast<char>(first));
      ++characters;
      ++at;
      continue;
    }
    size_t start = at;
    char32_t code = DecodeCharacter(value, &at);
    if (code == kInvalid || IsNonCharacter(code)) code = kReplacement;
    bool control = code < 0x20 && code != '\t' && code != '\n';
    bool literal_escape = code == '_' && StartsEscape(value, start);
    size_t written = control || literal_escape ? 7 : 1;
    if (characters + written > kWorkbookMaxCellCharacters) break;
    characters += written;
    if (control) {
      char escape[8];
      snprintf(escape, sizeof escape, "_x%04X_", static_cast<unsigned>(code));
      out->append(escape, 7);
    } else if (literal_escape) {
      out->append("_x005F_");
    } else {
      AppendUtf8(code, out);
    }
  }
}

std::string WorkbookCellText(std::string_view value) {
  std::string out;
  AssignWorkbookCellText(value, &out);
  return out;
}

bool IsWorkbookNameText(std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    char32_t code = DecodeCharacter(text, &at);
    if (code == kInvalid || IsNonCharacter(code) || code < 0x20 || code == 0x7F) return false;
  }
  return true;
}
