#include "report/pdf_qr_code.h"

#include "report/hpdf_library.h"
#include "report/pdf_text.h"
#include "report/qr_encoder.h"
#include "report/qrcodegen_library.h"

namespace {

// Points of white kept around the symbol on every side.
constexpr int kQuietZone = 5;

}  // namespace

void DrawPdfQrCode(HPDF_Page page, const char* text, float x, float y) {
  SetPdfLineWidth(page, 1);
  SetPdfStroke(page, 1, 1, 1);
  SetPdfFill(page, 1, 1, 1);
  Hpdf().HPDF_Page_Rectangle(page, x, y, kPdfQrCodeSize, kPdfQrCodeSize);
  Hpdf().HPDF_Page_Fill(page);
  SetPdfFill(page, 0, 0, 0);

  // Medium error correction, raised while the data still fits; the smallest
  // version that holds the text; the mask with the lowest penalty.
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX];
  uint8_t scratch[qrcodegen_BUFFER_LEN_MAX];
  if (!EncodeQrText(text, qrcode, scratch)) return;
  const QrcodegenLibrary& qr = Qrcodegen();
  const int n = qr.qrcodegen_getSize(qrcode);
  const int inner = static_cast<int>(kPdfQrCodeSize) - 2 * kQuietZone;
  const int module = inner / n;
  const int pad = (inner - n * module) / 2;
  const float right = x + kQuietZone + pad + n * module;
  const float top = y + kQuietZone + pad + n * module;
  // The square is white already, so only the dark modules are drawn, as few
  // rectangles as a simple cover gives (a run of dark modules in a row, extended
  // down over the rows that repeat it), all filled at once. A thousand small
  // rectangles per page would be slow to write, compress and view.
  // Dark modules not drawn yet, row by row.
  uint8_t pending[qrcodegen_VERSION_MAX * 4 + 17][qrcodegen_VERSION_MAX * 4 + 17];
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column)
      pending[row][column] = qr.qrcodegen_getModule(qrcode, column, row);
  }
  const auto dark = [&](int column, int row) { return pending[row][column] != 0; };
  bool any_dark = false;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n;) {
      if (!dark(column, row)) {
        ++column;
        continue;
      }
      int end = column + 1;
      while (end < n && dark(end, row)) ++end;
      int bottom = row + 1;
      for (; bottom < n; ++bottom) {
        bool repeats = true;
        for (int c = column; c < end && repeats; ++c) repeats = dark(c, bottom);
        if (!repeats) break;
      }
      for (int r = row; r < bottom; ++r) {
        for (int c = column; c < end; ++c) pending[r][c] = 0;
      }
      // Columns run right to left on the page, rows top down.
      Hpdf().HPDF_Page_Rectangle(page, right - end * module, top - bottom * module,
                                 (end - column) * module, (bottom - row) * module);
      any_dark = true;
      column = end;
    }
  }
  if (any_dark) Hpdf().HPDF_Page_Fill(page);
}
