// Single-byte text for PDF documents. The program holds text as UTF-8, but the
// standard PDF fonts draw WinAnsi (Windows code page 1252) and bookmark titles
// without an encoder are read as PDFDocEncoding. These functions transcode at
// that edge: every character the target encoding has becomes its byte, every
// other character, control character or malformed UTF-8 byte becomes '?'. The
// result never holds a zero byte or a control character, so any input is safe to
// hand to the PDF library. Pure functions; safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Transcodes `utf8` into `out` (at most `out_size` bytes including the terminating
// zero; longer results are cut) and returns the length written. The result is
// never longer than the input, so a buffer of `utf8.size() + 1` always suffices.
size_t Utf8ToWinAnsi(std::string_view utf8, char* out, size_t out_size);
size_t Utf8ToPdfDocEncoding(std::string_view utf8, char* out, size_t out_size);

// The same into a new string.
std::string Utf8ToWinAnsi(std::string_view utf8);
std::string Utf8ToPdfDocEncoding(std::string_view utf8);
