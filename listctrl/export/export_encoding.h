// The byte forms of the CSV and XML exports: pure functions on UTF-8 texts, with no
// window code, so the writers and their unit test share them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends a CSV cell value to `line`: each double quote doubled, then the whole
// value enclosed in double quotes when it contains a comma. A value without a
// comma stays bare, whatever else (quotes, line breaks) it holds.
void AppendCsvField(std::string* line, std::string_view value);

// The XML file's opening ("<?xml ... ISO-8859-1"?>", "<ZORMXML>") and closing
// lines, each with its CR LF.
extern const char kXmlExportOpening[];
extern const char kXmlExportClosing[];

// UTF-8 `text` as the character data of an ISO-8859-1 XML file:
//  - & < > " ' as the entities &amp; &lt; &gt; &quot; &apos;
//  - U+0020..U+00FF (but those five) as the single Latin-1 byte;
//  - TAB, LF and CR as &#9; &#10; &#13;, so a parser keeps them unchanged;
//  - characters above U+00FF as decimal references (&#8364;);
//  - what XML 1.0 cannot carry (other control characters, U+FFFE, U+FFFF) and each
//    piece that is not well-formed UTF-8 (util/utf8.h decides the pieces) as
//    &#65533; (U+FFFD, the replacement character).
void AppendXmlText(std::string* out, std::string_view text);
inline std::string XmlText(std::string_view text) {
  std::string out;
  AppendXmlText(&out, text);
  return out;
}

// One record element: "<record>", then per column
// "<field name="<header>"><cell></field>", then "</record>", each on its own line
// ended by CR LF, appended to `out`. `cells` may be shorter than `headers`:
// missing cells are empty.
void AppendXmlRecord(std::string* out, const std::vector<std::string>& headers,
                     const std::vector<std::string>& cells);
