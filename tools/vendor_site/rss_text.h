// Texts of the vendor's change-history feed: element content that is always
// well-formed XML whatever the database holds, and RFC 822 dates.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `text` as XML character data: &, <, >, " escaped; non-ASCII UTF-8 kept as it
// is; bytes that are not valid UTF-8 become U+FFFD; characters XML does not
// allow (controls other than tab, line feed and carriage return) are dropped.
std::string XmlEscape(std::string_view text);
// The same, appended to `*out`: a feed of many items builds in one buffer.
void AppendXmlEscaped(std::string_view text, std::string* out);

// "YYYY-MM-DD HH:MM:SS" (the server's clock, as stored) as an RFC 822 date with
// English day and month names: "Tue, 06 Jul 2021 09:30:00 GMT". Empty when the
// text is not such a date.
std::string Rfc822Date(std::string_view stamp);

// The same into `out` without allocating; the length written, 0 when the text
// is not such a date. Stamps in the exact stored form take a direct path,
// anything else goes through strptime.
constexpr size_t kRfc822DateCapacity = 64;
size_t FormatRfc822Date(std::string_view stamp, char (&out)[kRfc822DateCapacity]);
// The strptime path alone, for holding the direct path against it.
size_t FormatRfc822DateByStrptime(std::string_view stamp, char (&out)[kRfc822DateCapacity]);
