// The list file that zormlist shows: UTF-8 text, one row per line, fields separated
// by '|', the first line holding the column names. Lines may end in LF or CR LF, the
// last one may have no line end, and an optional UTF-8 byte-order mark before the
// header is dropped. Empty lines after the header are skipped. A line with fewer
// fields than the header is padded with empty cells; one with more is an error,
// and so is text that is not UTF-8 (bytes are never guessed to be Latin-1, so
// what the list shows is what the file holds).
//
// Pure functions without wx; safe on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

struct ListFile {
  std::vector<std::string> columns;            // never empty once parsed
  std::vector<std::vector<std::string>> rows;  // each exactly columns.size() cells
};

// Parses `text`, naming the file `name` in messages. On success fills *file; on
// failure returns the message and leaves *file empty. Line numbers in messages
// count every line of the file from 1, the header included.
Status ParseListFile(std::string_view text, const std::string& name, ListFile* file);

// Reads and parses the file at `path`; a file that cannot be read is an error that
// names it and says why.
Status ReadListFile(const std::string& path, ListFile* file);
