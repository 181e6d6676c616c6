#include "report/pdf_text.h"

#include "report/win_ansi.h"

PdfText::PdfText(std::string_view utf8) { Utf8ToWinAnsi(utf8, bytes_, sizeof bytes_); }

float PdfText::Width(HPDF_Page page) const { return HPDF_Page_TextWidth(page, bytes_); }

void ShowPdfText(HPDF_Page page, float x, float y, const PdfText& text) {
  HPDF_Page_BeginText(page);
  HPDF_Page_MoveTextPos(page, x, y);
  HPDF_Page_ShowText(page, text.c_str());
  HPDF_Page_EndText(page);
}

void FillPdfRectangle(HPDF_Page page, float x, float y, float width, float height) {
  HPDF_Page_Rectangle(page, x, y, width, height);
  HPDF_Page_Fill(page);
}
