// Building one line of the fixed-width text format in the report's line buffer.
#pragma once

#include <string_view>

#include "report/report.h"

// Writes one text line to the report's output: each visible column's text placed
// at its start (left-aligned, or ending at the column's last character with
// RightAlign), cut to the column width, the columns separated by blanks, then "\n".
// `texts` holds one text per declared column. A line longer than the line buffer
// is cut after kReportLineBuffer - 1 characters.
void WriteTextLine(Report* report, const std::string_view* texts);

// The underline: each visible column filled with '-' over its width.
void WriteTextUnderline(Report* report);
