// The byte forms of the CSV and XML exports: pure functions on UTF-8 texts, with no
// window code, so the writers and their unit test share them.
#pragma once

#include <string>
#include <vector>

// A CSV cell value: each double quote doubled, then the whole value enclosed in
// double quotes when it contains a comma. A value without a comma stays bare,
// whatever else (quotes, line breaks) it holds.
std::string CsvField(const std::string& value);

// One CSV line without its line end: the header line when `quote` is false (the
// texts joined by commas as they are), a record line of CsvField values when true.
std::string CsvLine(const std::vector<std::string>& texts, bool quote);

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
//    byte that does not begin a well-formed UTF-8 sequence (overlong forms and
//    surrogates included) as &#65533; (U+FFFD, the replacement character).
std::string XmlText(const std::string& text);

// One record element: "<record>", then per column
// "<field name="<header>"><cell></field>", then "</record>", each on its own line
// ended by CR LF. `cells` may be shorter than `headers`: missing cells are empty.
std::string XmlRecord(const std::vector<std::string>& headers,
                      const std::vector<std::string>& cells);
