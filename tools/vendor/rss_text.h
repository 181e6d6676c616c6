// Texts of the vendor's change-history feed: element content that is always
// well-formed XML whatever the database holds, and RFC 822 dates.
#pragma once

#include <string>

// `text` as XML character data: &, <, >, " escaped; non-ASCII UTF-8 kept as it
// is; bytes that are not valid UTF-8 become U+FFFD; characters XML does not
// allow (controls other than tab, line feed and carriage return) are dropped.
std::string XmlEscape(const std::string& text);

// "YYYY-MM-DD HH:MM:SS" (the server's clock, as stored) as an RFC 822 date with
// English day and month names: "Tue, 06 Jul 2021 09:30:00 GMT". Empty when the
// text is not such a date.
std::string Rfc822Date(const std::string& stamp);
