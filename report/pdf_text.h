// Drawing helpers for report pages: text from UTF-8 in the page's current font,
// and filled rectangles. The standard fonts are opened with the WinAnsi encoding,
// so text is transcoded here, at the edge (report/win_ansi.h).
#pragma once

#include <hpdf.h>

#include <cstddef>
#include <string_view>

#include "report/report.h"

// A text ready for the page: the UTF-8 input transcoded to WinAnsi, cut to the
// report's line buffer (2047 bytes).
class PdfText {
 public:
  explicit PdfText(std::string_view utf8);
  PdfText(const PdfText&) = delete;
  PdfText& operator=(const PdfText&) = delete;

  const char* c_str() const { return bytes_; }
  // Width in points in the page's current font and size.
  float Width(HPDF_Page page) const;

 private:
  char bytes_[kReportLineBuffer];
};

// Draws `text` with its baseline starting at (x, y) in the current font and fill.
void ShowPdfText(HPDF_Page page, float x, float y, const PdfText& text);

// Fills the rectangle with its lower left corner at (x, y) in the current fill.
void FillPdfRectangle(HPDF_Page page, float x, float y, float width, float height);
