// The workbook of a report. InitReport allocates one zero-filled state per report;
// the workbook format keeps its book, current sheet and output path here. A child
// report borrows its parent's state, so both write into one book, and the current
// sheet is the one of the latest Header of either.
#pragma once

#include <memory>

#include "report/report.h"
#include "report/workbook.h"

struct WorkbookState {
  std::unique_ptr<Workbook> book;     // the workbook, or none
  WorkbookSheet* sheet = nullptr;     // the sheet of the latest Header, or none
  char path[kReportMaxPath + 1] = {};  // output file, or empty for the default
  bool cell_failure_told = false;     // a refused cell of the current sheet was reported
};
