#include "report/pdf_qr_code.h"

#include <gtest/gtest.h>
#include <qrcodegen.h>

#include <string>

#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

// One letter page per text, each with its QR code in the top right corner, drawn
// over a black square so that the code's own white square shows.
std::string WritePagesWithQrCodes(const std::string& path, const std::vector<std::string>& texts) {
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
  return path;
}

TEST(PdfQrCodeTest, MirroredSymbolDecodesToTheText) {
  ScopedTestHome home;
  const std::vector<std::string> texts = {
      "1234567890",                                         // numeric segment
      "3;STOCK;MONDAY",                                     // byte segment (';')
      "HELLO WORLD $%*+-./:",                               // alphanumeric segment
      "12;Stock list;Thursday, March 04, 2021 - 15:30:00",  // a page's own text
      "7;Lagerbest\xC3\xA4nde M\xC3\xBCnchen;Friday, May 07, 1999 - 08:00:00",  // UTF-8
      std::string(120, 'x'),  // module size drops to one point
  };
  const std::string path = WritePagesWithQrCodes(home.path() + "/qr.pdf", texts);
  ASSERT_TRUE(PdfStructureIsSound(path));
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string error;
    EXPECT_EQ(texts[i], DecodeMirroredQrCode(path, static_cast<int>(i) + 1, &error))
        << "page " << i + 1 << " " << error;
  }
}

TEST(PdfQrCodeTest, ModulesStandMirroredLeftToRightInsideAWhiteSquare) {
  // zbarimg reads a symbol either way round, so the module positions are checked
  // on the rendered page against the encoder's own symbol.
  ScopedTestHome home;
  const std::string text = "2;Stock;Thursday, March 04, 2021 - 15:30:00";
  const float x = 512, y = 702;
  const std::string path = WritePagesWithQrCodes(home.path() + "/modules.pdf", {text});
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], scratch[qrcodegen_BUFFER_LEN_MAX];
  ASSERT_TRUE(qrcodegen_encodeText(text.c_str(), scratch, qrcode, qrcodegen_Ecc_MEDIUM, 1, 40,
                                   qrcodegen_Mask_AUTO, true));
  const int n = qrcodegen_getSize(qrcode);
  ASSERT_EQ(33, n);  // version 4: modules of 2 points, 2 points of padding
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 288);
  ASSERT_GT(raster.width, 0);
  int wrong = 0;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      // Module column 0 is drawn at the right-hand edge, row 0 at the top.
      const double cx = x + 5 + 2 + (n - 1 - column) * 2 + 1;
      const double cy = y + 5 + 2 + (n - 1 - row) * 2 + 1;
      const bool dark = raster.GreyAt(cx, cy) < 128;
      if (dark != qrcodegen_getModule(qrcode, column, row)) ++wrong;
    }
  }
  EXPECT_EQ(0, wrong);
  for (double inset : {1.0, 4.0, 76.0, 79.0}) {  // the quiet zone is white
    EXPECT_EQ(255, raster.GreyAt(x + inset, y + 40));
    EXPECT_EQ(255, raster.GreyAt(x + 40, y + inset));
  }
}

TEST(PdfQrCodeTest, TextTooLongForAnyVersionLeavesTheSquareWhite) {
  ScopedTestHome home;
  const std::string path =
      WritePagesWithQrCodes(home.path() + "/long.pdf", {std::string(8000, 'a')});
  ASSERT_TRUE(PdfStructureIsSound(path));
  EXPECT_EQ("", DecodeMirroredQrCode(path, 1));
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 72);
  for (double inset : {1.0, 40.0, 79.0}) EXPECT_EQ(255, raster.GreyAt(512 + inset, 702 + inset));
  EXPECT_EQ(0, raster.GreyAt(505, 700));  // the black square around it
}

}  // namespace
