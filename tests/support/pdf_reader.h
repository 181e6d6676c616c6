// Reads PDF files back for tests with the tools a user would have: poppler's
// pdfinfo, pdftotext and pdftoppm, qpdf, and zbarimg for QR codes. On failure a
// function returns an empty result.
#pragma once

#include <string>
#include <vector>

struct PdfPageBox {
  double width = 0, height = 0;
};

// One word as pdftotext places it, in PDF coordinates (origin bottom left, y up):
// `bottom`/`top` are the font's descent and ascent around the baseline.
struct PdfWord {
  int page = 0;  // 1-based
  double left = 0, right = 0, bottom = 0, top = 0;
  std::string text;  // UTF-8, with XML entities as pdftotext writes them
};

// One bookmark with the page its destination names (0 without a destination).
struct PdfBookmark {
  std::string title;  // UTF-8
  int page = 0;
  std::vector<PdfBookmark> kids;
};

// A page rendered in shades of grey, 0 black to 255 white.
struct PdfRaster {
  int width = 0, height = 0, dpi = 0;
  std::vector<unsigned char> grey;  // rows from the top
  // The shade at the point (x, y) in PDF coordinates; -1 outside the page.
  int GreyAt(double x, double y) const;
};

std::vector<PdfPageBox> ReadPdfPageBoxes(const std::string& path);
std::vector<PdfWord> ReadPdfWords(const std::string& path);
// True when qpdf --check finds no fault in the file's structure.
bool PdfStructureIsSound(const std::string& path);
std::vector<PdfBookmark> ReadPdfOutline(const std::string& path);
// Decodes the QR code at the top of `page`, either way round; empty when none.
std::string DecodePdfQrCode(const std::string& path, int page);
PdfRaster RenderPdfPageGrey(const std::string& path, int page, int dpi);
// The words of one page whose text equals `text`, top of the page first.
std::vector<PdfWord> FindPdfWords(const std::vector<PdfWord>& words, int page,
                                  const std::string& text);
