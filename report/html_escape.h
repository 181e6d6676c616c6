// Escaping a value for the HTML format.
#pragma once

#include <string>
#include <string_view>

// Room for an escaped value: escaping stops before the next character once 505
// bytes have been produced, and the longest entity has 6 bytes.
constexpr unsigned kHtmlEscapeBuffer = 512;

// Writes `value` with ", &, ', < and > as entities into `buffer` (ending in a zero
// byte) and returns the escaped text. Long values are cut as described above.
std::string_view EscapeHtmlValue(std::string_view value, char (&buffer)[kHtmlEscapeBuffer]);

// `text` with the same characters as entities, whole: for callers that must
// hand the writer plain text where it takes markup (titles, notes, column names).
std::string EscapeHtml(std::string_view text);
