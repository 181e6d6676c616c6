// The change history as a report of the report writer: title "Change History",
// columns "Type", "Date" and "Description", one record per entry in document
// order, in the format the environment asks for (ZORMREPORTFORMAT and friends).
#pragma once

#include <cstdio>
#include <vector>

#include "app/rss.h"

// Writes the report of `items` to `output` (the PDF and spreadsheet formats write
// their files where the environment says). Returns the PDF save result, 0 when
// all went well or the format writes no PDF.
unsigned WriteChangeHistoryReport(const std::vector<CRSSItem>& items, FILE* output);
