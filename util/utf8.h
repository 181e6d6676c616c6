// Reading UTF-8 text one character at a time. Report values come from records,
// environment variables and CGI requests, so they may hold any bytes; each output
// format decides what an invalid piece becomes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What DecodeUtf8 returns for a piece of bytes that is not well-formed UTF-8.
constexpr char32_t kUtf8Invalid = 0xFFFFFFFF;

// Decodes the character at text[*at] (which must be inside `text`) and advances
// *at past it. Overlong forms, surrogates, code points above U+10FFFF and sequences
// cut short are invalid: then kUtf8Invalid is returned and *at is advanced past the
// maximal invalid piece (at least one byte), the unit Unicode recommends replacing
// once.
char32_t DecodeUtf8(std::string_view text, size_t* at);

// `text` fit to print on a terminal or to hand to a format that needs UTF-8:
// every control character (C0, DEL, C1), which could move a terminal's cursor
// or change its colours, becomes a space, and every invalid piece U+FFFD.
std::string PrintableUtf8(std::string_view text);
