#include "report/pdf_qr_code.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

// One letter page per text, each with its QR code in the top right corner.
std::string WritePagesWithQrCodes(const std::string& path, const std::vector<std::string>& texts) {
  HPDF_Doc doc = HPDF_New(nullptr, nullptr);
  for (const std::string& text : texts) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT);
    DrawPdfQrCode(page, text.c_str(), 612 - 100, 792 - 90);
  }
  HPDF_SaveToFile(doc, path.c_str());
  HPDF_Free(doc);
  return path;
}

TEST(PdfQrCodeTest, MirroredSymbolDecodesToTheText) {
  ScopedTestHome home;
  const std::vector<std::string> texts = {
      "1234567890",                                                // numeric segment
      "3;STOCK;MONDAY",                                            // byte segment (';')
      "HELLO WORLD $%*+-./:",                                      // alphanumeric segment
      "12;Stock list;Thursday, March 04, 2021 - 15:30:00",         // a page's own text
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

TEST(PdfQrCodeTest, TextTooLongForAnyVersionLeavesTheSquareWhite) {
  ScopedTestHome home;
  const std::string path =
      WritePagesWithQrCodes(home.path() + "/long.pdf", {std::string(8000, 'a')});
  ASSERT_TRUE(PdfStructureIsSound(path));
  EXPECT_EQ("", DecodeMirroredQrCode(path, 1));
}

}  // namespace
