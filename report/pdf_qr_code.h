// The QR code on report pages: it names the page (page number, title and creation
// time of the report) so that a printed page can be traced back to its run.
#pragma once

#include <hpdf.h>

// Side of the square the code is drawn in, in points.
constexpr float kPdfQrCodeSize = 80;

// Draws the QR code of `text` on `page` with the lower left corner of its white
// square at (x, y), kPdfQrCodeSize wide. The symbol is drawn mirrored left to
// right: row 0 at the top, module column 0 at the right-hand edge. A text too long
// for any QR version leaves the square white. The fill colour is black afterwards.
void DrawPdfQrCode(HPDF_Page page, const char* text, float x, float y);
