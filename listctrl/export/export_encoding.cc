#include "listctrl/export/export_encoding.h"

#include <cstdint>

std::string CsvField(const std::string& value) {
  std::string field;
  field.reserve(value.size() + 2);
  for (char c : value) {
    if (c == '"') field += '"';
    field += c;
  }
  if (field.find(',') != std::string::npos) return '"' + field + '"';
  return field;
}

std::string CsvLine(const std::vector<std::string>& texts, bool quote) {
  std::string line;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) line += ',';
    line += quote ? CsvField(texts[i]) : texts[i];
  }
  return line;
}

const char kXmlExportOpening[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<ZORMXML>\r\n";
const char kXmlExportClosing[] = "</ZORMXML>\r\n";

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Decodes the well-formed UTF-8 sequence at text[*at], advancing *at past it; on a
// byte that begins none, advances by that one byte and gives kReplacement.
uint32_t NextCharacter(const std::string& text, size_t* at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*at);
  if (lead < 0x80) {
    ++*at;
    return lead;
  }
  size_t length;
  uint32_t code, minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++*at;
    return kReplacement;
  }
  if (text.size() - *at < length) {
    ++*at;
    return kReplacement;
  }
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(*at + i);
    if ((next & 0xC0) != 0x80) {
      ++*at;
      return kReplacement;
    }
    code = code << 6 | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++*at;
    return kReplacement;
  }
  *at += length;
  return code;
}

bool XmlCanCarry(uint32_t code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code != 0xFFFE && code != 0xFFFF);
}

}  // namespace

std::string XmlText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    uint32_t code = NextCharacter(text, &at);
    if (!XmlCanCarry(code)) code = kReplacement;
    switch (code) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        // Line breaks and tabs as references: a parser would fold a bare CR LF
        // into LF and an attribute's breaks into blanks.
        if (code >= 0x20 && code <= 0xFF)
          out += static_cast<char>(code);
        else
          out += "&#" + std::to_string(code) + ";";
    }
  }
  return out;
}

std::string XmlRecord(const std::vector<std::string>& headers,
                      const std::vector<std::string>& cells) {
  std::string record = "<record>\r\n";
  for (size_t i = 0; i < headers.size(); ++i) {
    record += "<field name=\"" + XmlText(headers[i]) + "\">";
    if (i < cells.size()) record += XmlText(cells[i]);
    record += "</field>\r\n";
  }
  return record + "</record>\r\n";
}
