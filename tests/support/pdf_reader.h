// Reads PDF files back for tests with the tools a user would have: poppler's
// pdfinfo, pdftotext and pdftoppm, qpdf, and zbarimg for QR codes. Every function
// runs the external program on a file and parses what it prints; on failure it
// returns an empty result and fills `error` when one is given.
#pragma once

#include <string>
#include <vector>

struct PdfPageBox {
  double width = 0;
  double height = 0;
};

// One word as pdftotext places it, in PDF coordinates (origin bottom left, y up):
// `left`/`right` are the horizontal extent, `bottom`/`top` the box of the font's
// descent and ascent around the baseline.
struct PdfWord {
  int page = 0;  // 1-based
  double left = 0, right = 0, bottom = 0, top = 0;
  std::string text;  // UTF-8
};

// One bookmark with the page its destination names (0 without a destination).
struct PdfBookmark {
  std::string title;  // UTF-8
  int page = 0;
  std::vector<PdfBookmark> kids;
};

// The size of every page, in order (pdfinfo).
std::vector<PdfPageBox> ReadPdfPageBoxes(const std::string& path, std::string* error = nullptr);

// Every word of every page with its box (pdftotext -bbox).
std::vector<PdfWord> ReadPdfWords(const std::string& path, std::string* error = nullptr);

// The plain text of one page with its layout kept (pdftotext -layout), UTF-8.
std::string ReadPdfPageText(const std::string& path, int page, std::string* error = nullptr);

// True when qpdf finds no fault in the file's structure (qpdf --check).
bool PdfStructureIsSound(const std::string& path, std::string* error = nullptr);

// The document outline (qpdf --json).
std::vector<PdfBookmark> ReadPdfOutline(const std::string& path, std::string* error = nullptr);

// Renders the top of `page` (1-based), mirrors the picture left to right and decodes the QR
// code on it: the decoded text, or empty when none was found.
std::string DecodeMirroredQrCode(const std::string& path, int page, std::string* error = nullptr);

// A page rendered in shades of grey, 0 black to 255 white.
struct PdfRaster {
  int width = 0, height = 0;  // pixels
  int dpi = 0;
  std::vector<unsigned char> grey;  // rows from the top
  // The shade at the point (x, y) in PDF coordinates; -1 outside the page.
  int GreyAt(double x, double y) const;
};
PdfRaster RenderPdfPageGrey(const std::string& path, int page, int dpi,
                            std::string* error = nullptr);

// Renders `page` to a PNG file at `dpi`; false on failure.
bool RenderPdfPage(const std::string& path, int page, int dpi, const std::string& png_path,
                   std::string* error = nullptr);

// The words of one page whose text equals `text`, top of the page first.
std::vector<PdfWord> FindPdfWords(const std::vector<PdfWord>& words, int page,
                                  const std::string& text);
