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

// Several texts of one page in one text object, each placed by a move from the
// previous one: a record line costs one text object instead of one per value.
// Rectangles may not be drawn while the block is open: End() it first. Ends
// itself when destroyed.
class PdfTextBlock {
 public:
  explicit PdfTextBlock(HPDF_Page page) : page_(page) {}
  ~PdfTextBlock() { End(); }
  PdfTextBlock(const PdfTextBlock&) = delete;
  PdfTextBlock& operator=(const PdfTextBlock&) = delete;

  // Draws `text` with its baseline starting at (x, y), opening the block if needed.
  void Show(float x, float y, const PdfText& text);
  void End();

 private:
  HPDF_Page page_;
  bool open_ = false;
  float x_ = 0, y_ = 0;  // where the previous text was placed
};

// Fill colour, stroke colour and line width, written only when the page does not
// have them already: a report sets the same few values over and over, and each
// one written costs time and bytes.
void SetPdfFill(HPDF_Page page, float red, float green, float blue);
void SetPdfStroke(HPDF_Page page, float red, float green, float blue);
void SetPdfLineWidth(HPDF_Page page, float width);

// Fills the rectangle with its lower left corner at (x, y) in the current fill.
void FillPdfRectangle(HPDF_Page page, float x, float y, float width, float height);
