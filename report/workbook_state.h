// The workbook of a report. InitReport allocates one zero-filled state per report;
// the workbook format keeps its book, current sheet and output path here.
#pragma once

#include "report/report.h"

struct WorkbookState {
  char path[kReportMaxPath + 1] = {};  // output file, or empty for the default
};
