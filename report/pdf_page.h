// The start of a report page in the PDF format: a new page with its heading
// (logo, title bar, notes, production time, QR code), the heading band with the
// column headings, and the footer (rule, report ID, notice line, page number).
// It also places the column positions, the lines per page and the pending
// bookmarks. Used by records, banners and blank pages (report/format_pdf.cc).
#pragma once

#include "report/report.h"

// The parent of `report`, or the report itself when it has none.
inline Report* PdfParentOf(Report* report) {
  return report->parent != nullptr ? report->parent : report;
}

// The line centred in every page footer.
extern const char kPdfNoticeLine[];

// Adds and draws a new page for `report` (its PdfState must hold an open
// document) and counts it on the report and on its parent. When the library
// cannot add a page the error handler has reported it; the page stays null and
// nothing is drawn.
void StartPdfPage(Report* report);
