#include "listctrl/export/export_encoding.h"

#include <cstdint>

#include "util/utf8.h"

void AppendCsvField(std::string* line, std::string_view value) {
  bool comma = false, quote = false;
  for (char c : value) {
    comma |= c == ',';
    quote |= c == '"';
  }
  if (comma) *line += '"';
  if (!quote) {
    line->append(value);
  } else {
    for (char c : value) {
      if (c == '"') *line += '"';
      *line += c;
    }
  }
  if (comma) *line += '"';
}

const char kXmlExportOpening[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<ZORMXML>\r\n";
const char kXmlExportClosing[] = "</ZORMXML>\r\n";

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool XmlCanCarry(char32_t code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code != 0xFFFE && code != 0xFFFF);
}

}  // namespace

void AppendXmlText(std::string* out, std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    // Plain ASCII goes through unchanged in runs.
    const size_t run_start = at;
    while (at < text.size()) {
      const unsigned char c = static_cast<unsigned char>(text[at]);
      if (c < 0x20 || c >= 0x7F || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'')
        break;
      ++at;
    }
    out->append(text.substr(run_start, at - run_start));
    if (at == text.size()) break;
    char32_t code = DecodeUtf8(text, &at);
    if (code == kUtf8Invalid || !XmlCanCarry(code)) code = kReplacement;
    switch (code) {
      case '&': *out += "&amp;"; break;
      case '<': *out += "&lt;"; break;
      case '>': *out += "&gt;"; break;
      case '"': *out += "&quot;"; break;
      case '\'': *out += "&apos;"; break;
      default:
        // Line breaks and tabs as references: a parser would fold a bare CR LF
        // into LF and an attribute's breaks into blanks.
        if (code >= 0x20 && code <= 0xFF)
          *out += static_cast<char>(code);
        else
          *out += "&#" + std::to_string(uint32_t(code)) + ";";
    }
  }
}

void AppendXmlRecord(std::string* out, const std::vector<std::string>& headers,
                     const std::vector<std::string>& cells) {
  *out += "<record>\r\n";
  for (size_t i = 0; i < headers.size(); ++i) {
    *out += "<field name=\"";
    AppendXmlText(out, headers[i]);
    *out += "\">";
    if (i < cells.size()) AppendXmlText(out, cells[i]);
    *out += "</field>\r\n";
  }
  *out += "</record>\r\n";
}
