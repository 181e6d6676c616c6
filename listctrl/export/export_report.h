// What the report-based exports (text, JSON, PDF) share: the list's exported
// columns and selected rows described to a report of the report writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CZORMListCtrl;
struct Report;

// Declares the list's exported columns to `report`, with the list's column report
// flags when `with_flags`, and starts its section: the list's report title (set
// to `title` when the list has none, which lasts) and its notes, both literal.
// Returns the widths of GetExportColumns, kExportColumnExcluded for the columns
// left out.
std::vector<uint32_t> StartListReport(CZORMListCtrl& list, Report* report,
                                      const std::string& title, bool with_flags);

// Adds each of `rows` as a record: every exported cell followed by " |", taken
// literally. Shows the progress of `type_name`; false when the user cancelled.
bool AddListRecords(CZORMListCtrl& list, Report* report, const std::vector<uint32_t>& widths,
                    const std::vector<long>& rows, const char* type_name);
