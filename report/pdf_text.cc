#include "report/pdf_text.h"

#include "report/hpdf_library.h"
#include "report/win_ansi.h"

PdfText::PdfText(std::string_view utf8) { Utf8ToWinAnsi(utf8, bytes_, sizeof bytes_); }

float PdfText::Width(HPDF_Page page) const { return Hpdf().HPDF_Page_TextWidth(page, bytes_); }

void ShowPdfText(HPDF_Page page, float x, float y, const PdfText& text) {
  Hpdf().HPDF_Page_BeginText(page);
  Hpdf().HPDF_Page_MoveTextPos(page, x, y);
  Hpdf().HPDF_Page_ShowText(page, text.c_str());
  Hpdf().HPDF_Page_EndText(page);
}

void FillPdfRectangle(HPDF_Page page, float x, float y, float width, float height) {
  Hpdf().HPDF_Page_Rectangle(page, x, y, width, height);
  Hpdf().HPDF_Page_Fill(page);
}

void PdfTextBlock::Show(float x, float y, const PdfText& text) {
  if (!open_) {
    Hpdf().HPDF_Page_BeginText(page_);
    open_ = true;
    x_ = y_ = 0;
  }
  Hpdf().HPDF_Page_MoveTextPos(page_, x - x_, y - y_);
  x_ = x;
  y_ = y;
  Hpdf().HPDF_Page_ShowText(page_, text.c_str());
}

void PdfTextBlock::End() {
  if (!open_) return;
  Hpdf().HPDF_Page_EndText(page_);
  open_ = false;
}

void SetPdfFill(HPDF_Page page, float red, float green, float blue) {
  const HPDF_RGBColor now = Hpdf().HPDF_Page_GetRGBFill(page);
  if (now.r != red || now.g != green || now.b != blue)
    Hpdf().HPDF_Page_SetRGBFill(page, red, green, blue);
}

void SetPdfStroke(HPDF_Page page, float red, float green, float blue) {
  const HPDF_RGBColor now = Hpdf().HPDF_Page_GetRGBStroke(page);
  if (now.r != red || now.g != green || now.b != blue)
    Hpdf().HPDF_Page_SetRGBStroke(page, red, green, blue);
}

void SetPdfLineWidth(HPDF_Page page, float width) {
  if (Hpdf().HPDF_Page_GetLineWidth(page) != width) Hpdf().HPDF_Page_SetLineWidth(page, width);
}
