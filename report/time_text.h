// Time texts shared by the report writer's formats and its variables store. Each
// function returns one static buffer of 128 bytes that lasts until the next call of
// the same function; they are for one thread.
#pragma once

#include <cstdint>

// "%A, %B %d, %Y - %H:%M:%S (%Z)" in local time; "Not-Set" for 0, "**ERROR**" when
// the local time cannot be determined.
const char* FormatProductionTime(uint32_t when);

// The same rules with `format`, or "%A, %B %d, %Y - %H:%M:%S" when it is null.
const char* FormatTime(int64_t when, const char* format = nullptr);

// The stamp in PDF and workbook file names: "%Y-%m-%d-%H-%M-%S", same replacements.
const char* FormatFileStamp(int64_t when);

// The common rule behind the three, into a caller's buffer: "Not-Set" for 0,
// "**ERROR**" when localtime fails, else strftime (an empty result when the text
// does not fit). Returns `buffer`.
char* FormatLocalTime(int64_t when, const char* format, char* buffer, unsigned length);
