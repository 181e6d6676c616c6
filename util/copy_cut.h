// Copying text into the fixed-size character buffers of the report's C-level
// records and of the number formatter.
#pragma once

#include <cstddef>
#include <string_view>

// Copies as much of `text` as fits in `capacity` - 1 bytes into `target` and ends
// the copy with a zero byte; returns `target`. Nothing is written when `capacity`
// is 0. The cut may fall inside a multi-byte character; callers that show the text
// keep their buffers large enough for their longest value.
char* CopyCut(char* target, size_t capacity, std::string_view text);
// The same for a zero-ended `text`, read no further than the copy needs.
char* CopyCut(char* target, size_t capacity, const char* text);
