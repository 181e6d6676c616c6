// The PDF document of a report and its settings. InitReport allocates one
// zero-filled state per report; SetPdfOrientation, SetPdfPageSize,
// SetPdfOutputPath and SetPdfLogo store into it before the first Header. The PDF
// format keeps its document, page and drawing values here as well.
#pragma once

#include <cstdint>

#include "report/report.h"

struct PdfState {
  uint32_t orientation = 0;  // 0 portrait, 1 landscape
  uint32_t page_size = 0;    // the PDF library's page size number; 0 letter
  char logo_path[kReportMaxPath + 1] = {};    // JPEG file, or empty
  char output_path[kReportMaxPath + 1] = {};  // PDF file, or empty for the default
};
