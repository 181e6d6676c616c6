#include "report/pdf_qr_code.h"

#include <gtest/gtest.h>
#include <qrcodegen.h>

#include <string>

#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

TEST(PdfQrCodeTest, ModulesStandMirroredInAWhiteSquareOrTheSquareStaysWhite) {
  // zbarimg reads a symbol either way round, so the module positions are checked on
  // the rendered page against the library's own symbol. Each page has its code at
  // (512, 702), drawn over a black square so that the code's own white square shows.
  ScopedTestHome home;
  const std::string texts[] = {"2;Stock;Thursday, March 04, 2021 - 15:30:00",
                               std::string(8000, 'a')};  // too long for any version
  const std::string path = home.path() + "/qr.pdf";
  HPDF_Doc doc = HPDF_New(nullptr, nullptr);
  for (const std::string& text : texts) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    HPDF_Page_Rectangle(page, 500, 690, 104, 100);
    HPDF_Page_Fill(page);
    DrawPdfQrCode(page, text.c_str(), 512, 702);
  }
  HPDF_SaveToFile(doc, path.c_str());
  HPDF_Free(doc);
  ASSERT_TRUE(PdfStructureIsSound(path));

  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], scratch[qrcodegen_BUFFER_LEN_MAX];
  ASSERT_TRUE(qrcodegen_encodeText(texts[0].c_str(), scratch, qrcode, qrcodegen_Ecc_MEDIUM, 1,
                                   40, qrcodegen_Mask_AUTO, true));
  const int n = qrcodegen_getSize(qrcode);
  ASSERT_EQ(33, n);  // version 4: modules of 2 points, 2 points of padding
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 288);
  int wrong = 0;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      // Module column 0 is drawn at the right-hand edge, row 0 at the top.
      const bool dark = raster.GreyAt(512 + 7 + (n - 1 - column) * 2 + 1,
                                      702 + 7 + (n - 1 - row) * 2 + 1) < 128;
      wrong += dark != qrcodegen_getModule(qrcode, column, row);
    }
  }
  EXPECT_EQ(0, wrong);
  const PdfRaster empty = RenderPdfPageGrey(path, 2, 72);
  EXPECT_EQ(255, empty.GreyAt(512 + 40, 702 + 40));
  for (double inset : {1.0, 4.0, 76.0, 79.0}) {  // the quiet zone and the empty square
    EXPECT_EQ(255, raster.GreyAt(512 + inset, 702 + 40));
    EXPECT_EQ(255, raster.GreyAt(512 + 40, 702 + inset));
    EXPECT_EQ(255, empty.GreyAt(512 + inset, 702 + inset));
  }
  EXPECT_EQ(0, empty.GreyAt(505, 700));  // the black square around it
}

}  // namespace
