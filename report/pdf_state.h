// The PDF document of a report and its settings. InitReport allocates one state
// per report; SetPdfOrientation, SetPdfPageSize, SetPdfOutputPath and SetPdfLogo
// store into it before the first Header. The PDF format (report/format_pdf.cc)
// opens the document at the first Header and keeps its document, page, fonts and
// drawing values here. A child report borrows its parent's state, so that both
// draw into one document; only the owner saves and frees it.
#pragma once

#include <hpdf.h>

#include <cstdint>

#include "report/hpdf_library.h"
#include "report/report.h"

// The library's error handler: writes "Error PDF Object: error_no=%04X,
// detail_no=%u\n" to standard output and lets drawing go on. The PDF format also
// calls it for the errors it finds itself (a logo that is not a JPEG file).
void HPDF_STDCALL PrintPdfError(HPDF_STATUS error_no, HPDF_STATUS detail_no, void* user_data);

// State bits of a PdfState.
namespace PdfStateBit {
constexpr uint32_t LogoTried = 1;
constexpr uint32_t TitleBookmarkPending = 2;
constexpr uint32_t NotesBookmarkPending = 4;
}  // namespace PdfStateBit

struct PdfState {
  PdfState() = default;
  // A report dropped without Close still releases its document (unsaved).
  ~PdfState() {
    if (document != nullptr) Hpdf().HPDF_Free(document);
  }
  PdfState(const PdfState&) = delete;
  PdfState& operator=(const PdfState&) = delete;

  HPDF_Doc document = nullptr;
  HPDF_Page page = nullptr;              // the current page
  HPDF_Outline title_outline = nullptr;  // the latest top-level bookmark
  HPDF_Image logo = nullptr;             // or null when none could be loaded

  // Page geometry in points; fixed, only the logo width drops to 0 without a logo.
  float logo_width = 158;
  float logo_height = 39;
  float top_margin = 30;
  float bottom_margin = 30;
  float left_margin = 10;
  float right_margin = 10;
  float line_height = 12;

  // Computed at each page start.
  float title_bar_width = 0;
  float title_bar_x = 0;

  HPDF_Font bold_font = nullptr;     // Helvetica-Bold
  HPDF_Font regular_font = nullptr;  // Helvetica
  HPDF_Font fixed_font = nullptr;    // Courier

  float unit = 0;      // points per character of column width, set at each page start
  float body_top = 0;  // y of the first record line, set at each page start

  char logo_path[kReportMaxPath + 1] = {};    // JPEG file, or empty
  char output_path[kReportMaxPath + 1] = {};  // PDF file, or empty for the default

  float horizontal_scale = 1.0f;
  uint32_t bits = 0;         // PdfStateBit values
  uint32_t orientation = 0;  // 0 portrait, 1 landscape
  uint32_t page_size = 0;    // the PDF library's page size number; 0 letter
};
