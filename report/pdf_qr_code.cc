#include "report/pdf_qr_code.h"

#include <qrcodegen.h>

namespace {

// Points of white kept around the symbol on every side.
constexpr int kQuietZone = 5;

}  // namespace

void DrawPdfQrCode(HPDF_Page page, const char* text, float x, float y) {
  HPDF_Page_SetLineWidth(page, 1);
  HPDF_Page_SetRGBStroke(page, 1, 1, 1);
  HPDF_Page_SetRGBFill(page, 1, 1, 1);
  HPDF_Page_Rectangle(page, x, y, kPdfQrCodeSize, kPdfQrCodeSize);
  HPDF_Page_Fill(page);
  HPDF_Page_SetRGBFill(page, 0, 0, 0);

  // Medium error correction, raised while the data still fits; the smallest
  // version that holds the text; the mask with the lowest penalty.
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX];
  uint8_t scratch[qrcodegen_BUFFER_LEN_MAX];
  if (!qrcodegen_encodeText(text, scratch, qrcode, qrcodegen_Ecc_MEDIUM, qrcodegen_VERSION_MIN,
                            qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, true))
    return;
  const int n = qrcodegen_getSize(qrcode);
  const int inner = static_cast<int>(kPdfQrCodeSize) - 2 * kQuietZone;
  const int module = inner / n;
  const int pad = (inner - n * module) / 2;
  const float right = x + kQuietZone + pad + n * module;
  const float top = y + kQuietZone + pad + n * module;
  // The square is white already, so only the dark modules are drawn, as one path
  // filled once: a page with a thousand small fills would be slow to write and view.
  bool any_dark = false;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      if (!qrcodegen_getModule(qrcode, column, row)) continue;
      HPDF_Page_Rectangle(page, right - (column + 1) * module, top - (row + 1) * module, module,
                          module);
      any_dark = true;
    }
  }
  if (any_dark) HPDF_Page_Fill(page);
}
