#include "report/workbook_text.h"

#include <cstdint>
#include <cstdio>

#include "util/utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

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
    char32_t code = DecodeUtf8(value, &at);
    if (code == kUtf8Invalid || IsNonCharacter(code)) code = kReplacement;
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
    char32_t code = DecodeUtf8(text, &at);
    if (code == kUtf8Invalid || IsNonCharacter(code) || code < 0x20 || code == 0x7F) return false;
  }
  return true;
}
