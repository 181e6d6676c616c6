// The PDF format, read back with poppler, qpdf and zbarimg.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <qrcodegen.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "report/report.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/report_fixture.h"

namespace {

constexpr const char* kCreationText = "Thursday, March 04, 2021 - 15:30:00";
const std::string kStamp = "Report-2021-03-04-15-30-00.pdf";

// The baseline of a word set in Helvetica: poppler boxes it from the font's
// descent (0.207 of the size) to its ascent (0.718).
double Baseline(const PdfWord& word) {
  return word.bottom + (word.top - word.bottom) * 0.207 / 0.925;
}

// The one word `text` on `page`; a failure when there is not exactly one.
PdfWord Word(const std::vector<PdfWord>& words, int page, const std::string& text) {
  std::vector<PdfWord> found = FindPdfWords(words, page, text);
  EXPECT_EQ(1u, found.size()) << text << " on page " << page;
  return found.empty() ? PdfWord{} : found[0];
}

// Item (10), Description (30), Qty (8, right-aligned number): 592 points of page
// width share 48 characters. Records R0001|Widget 1|1000 and on.
void Records(Report& report, int count, int first = 1) {
  for (int i = first; i < first + count; ++i)
    report.AddRecord("R%04d|Widget %d|%d", i, i, i * 1000);
}
void Stock(Report& report, const char* title, const char* notes, int count) {
  report.AddColumn(10, "Item", 0);
  report.AddColumn(30, "Description", 0);
  report.AddColumn(8, "Qty", ReportColumnFlag::RightAlign | ReportColumnFlag::Numeric);
  if (notes != nullptr) report.Header(nullptr, title, "%s", notes);
  else report.Header(nullptr, title, nullptr);
  Records(report, count);
}

class PdfFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { env_.SetEnv("ZORMREPORTFORMAT", "pdf"); }

  // Runs `write` on a fresh report saving to `name` (unless empty), closes it and
  // returns what it printed; the save result goes to `save_result`.
  std::string Run(const std::string& name, const std::function<void(Report&)>& write,
                  uint32_t* save_result = nullptr) {
    CapturedStream output(1);
    Report report;
    InitReport(&report);
    if (!name.empty()) report.SetPdfOutputPath(Path(name).c_str());
    write(report);
    report.Close();
    if (save_result != nullptr) *save_result = report.pdf_save_result;
    return output.Text();
  }
  std::string Path(const std::string& name) const { return env_.Path(name); }

  ReportTestEnv env_;
};

TEST_F(PdfFormatTest, LetterPageHeadingRecordsShadingAndFooterStandWhereDrawn) {
  const std::string path = Path("stock.pdf");
  EXPECT_EQ("", Run("stock.pdf", [](Report& report) {
    report.report_number = 3;
    Stock(report, "Stock",
        "Warehouse Z\xC3\xBCrich \xE2\x80\x93 \xE2\x82\xAC \xD0\x96 \xE6\x97\xA5", 60);
  }));
  ASSERT_TRUE(PdfStructureIsSound(path));
  ASSERT_EQ(2u, ReadPdfPageBoxes(path).size());
  const std::vector<PdfWord> words = ReadPdfWords(path);
  struct Case {
    const char* text;
    int page;
    double left, right, baseline;  // left, right < 0: not checked
  } cases[] = {
      {"Stock", 1, 20, -1, 742},      {"Warehouse", 1, 10, -1, 717}, {"Production", 1, 10, -1, 702},
      {"Item", 1, 15, -1, 679},       {"Description", 1, 15 + 10 * 592.0 / 48, -1, 679},
      {"Qty", 1, -1, 602, 679},       {"R0001", 1, 15, -1, 666},     {"1,000", 1, -1, 602, 666},
      {"R0052", 1, 15, -1, 54},       {"R0053", 2, 15, -1, 666},     {"Report-ID", 1, 15, -1, 21},
      {"1", 1, -1, 602, 20},          {"2", 2, -1, 602, 20},  // "Page N" at the right margin
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::vector<PdfWord> found = FindPdfWords(words, c.page, c.text);
    ASSERT_FALSE(found.empty());
    const PdfWord& word = isdigit(c.text[0]) ? found.back() : found.front();
    EXPECT_NEAR(c.left >= 0 ? c.left : word.left, word.left, 0.05);
    EXPECT_NEAR(c.right >= 0 ? c.right : word.right, word.right, 0.05);
    EXPECT_NEAR(c.baseline, Baseline(word), c.text == std::string("Report-ID") ? 2 : 0.1);
  }
  // Latin characters beyond ASCII print; others print as question marks. The notice
  // "Calvaro Report Writer (c) 2004-2026 Morvend" is centred.
  for (const char* word : {"Z\xC3\xBCrich", "\xE2\x80\x93", "\xE2\x82\xAC", "?", "Thursday,",
                           "(UTC)", "\xC2\xA9", "2004-2026"})
    EXPECT_FALSE(FindPdfWords(words, 1, word).empty()) << word;
  EXPECT_NEAR(306, (Word(words, 1, "Calvaro").left + Word(words, 1, "Morvend").right) / 2, 0.5);
  for (int page : {1, 2})
    EXPECT_EQ(std::to_string(page) + ";Stock;" + kCreationText, DecodePdfQrCode(path, page));
  // zbarimg reads a symbol either way round: the modules must stand mirrored, column 0
  // at the right, in 2-point modules after 7 points of white (version 4).
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 144);
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], scratch[qrcodegen_BUFFER_LEN_MAX];
  ASSERT_TRUE(qrcodegen_encodeText((std::string("1;Stock;") + kCreationText).c_str(), scratch,
                                   qrcode, qrcodegen_Ecc_MEDIUM, 1, 40, qrcodegen_Mask_AUTO, true));
  const int n = qrcodegen_getSize(qrcode);
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column)
      ASSERT_EQ(qrcodegen_getModule(qrcode, column, row),
                raster.GreyAt(512 + 8 + (n - 1 - column) * 2, 702 + 8 + (n - 1 - row) * 2) < 128)
          << column << "," << row;
  }
  // Every second line is shaded 0.98, the heading band 0.8; the title bar is dark.
  for (auto [x, y, grey] : {std::tuple{300, 669, 255}, {300, 657, 250}, {300, 645, 255},
                            {300, 633, 250}, {300, 681, 204}, {5, 747, 255}})
    EXPECT_EQ(grey, raster.GreyAt(x, y)) << y;
  EXPECT_LT(raster.GreyAt(300, 747), 80);
  EXPECT_LT(raster.GreyAt(300, 30), 200);  // the bottom rule
}

TEST_F(PdfFormatTest, PageSizeAndOrientationComeFromTheEnvironmentOrTheCalls) {
  struct Case {
    const char *size_variable, *orientation_variable;  // null: unset
    int size_call, orientation_call;                   // -1: not called
    double width, height;
    const char* error;  // the error handler's line: the document is then not saved
  } cases[] = {
      {nullptr, nullptr, -1, -1, 612, 792, ""},
      {"a4", "LANDSCAPE", -1, -1, 841.89, 595.276, ""},
      {"Legal", "portrait", -1, -1, 612, 1008, ""},
      {"EXECUTIVE", "sideways", -1, 1, 522, 756, ""},
      {nullptr, nullptr, 4, 1, 595.276, 419.528, ""},  // A5 landscape
      {"b5", nullptr, 4, -1, 498.898, 708.661, ""},    // the variable wins
      {nullptr, nullptr, 12, 0, 0, 0, "Error PDF Object: error_no=1054, detail_no=0\n"},
      {nullptr, nullptr, 3, 2, 0, 0, "Error PDF Object: error_no=1074, detail_no=2\n"},
  };
  for (const Case& c : cases) {
    const std::string name = "size" + std::to_string(&c - cases) + ".pdf";
    SCOPED_TRACE(name);
    env_.SetEnv("ZORMPDFPAGESIZE", c.size_variable);
    env_.SetEnv("ZORMPDFORIENTATION", c.orientation_variable);
    uint32_t result = 99;
    const std::string printed = Run(name, [&](Report& report) {
      if (c.size_call >= 0) report.SetPdfPageSize(c.size_call);
      if (c.orientation_call >= 0) report.SetPdfOrientation(c.orientation_call);
      Stock(report, "Sizes", nullptr, 3);
    }, &result);
    EXPECT_EQ(0u, printed.find(c.error)) << printed;
    EXPECT_EQ(c.error[0] ? 0x1025u : 0u, result);
    const std::vector<PdfPageBox> boxes = ReadPdfPageBoxes(Path(name));
    ASSERT_EQ(c.error[0] ? 0u : 1u, boxes.size());
    if (boxes.empty()) continue;
    EXPECT_NEAR(c.width, boxes[0].width, 0.001);
    EXPECT_NEAR(c.height, boxes[0].height, 0.001);
  }
}

TEST_F(PdfFormatTest, LogoMovesTheTitleBarAndAFailedLoadLeavesPagesWithoutIt) {
  const std::string jpeg = Path("logo.jpg");
  ASSERT_EQ(0, system(("/usr/bin/python3 -c 'from PIL import Image; Image.new(\"RGB\", "
                       "(158, 39), (255, 255, 0)).save(\"" + jpeg + "\")'").c_str()));
  ASSERT_TRUE(WriteWholeFile(Path("logo.png"), "\x89PNG\r\n\x1a\nnot really"));
  ASSERT_EQ(0, mkfifo(Path("fifo.jpg").c_str(), 0600));  // never opened: no writer comes
  struct Case {
    std::string variable, call;  // ZORMPDFLOGOPATH, SetPdfLogo; empty: none
    const char* printed;
    double title_left;
  } cases[] = {
      {"", "", "", 20},
      {jpeg, "", "", 198},
      {"", jpeg, "", 198},
      {Path("logo.png"), "", "Error PDF Object: error_no=1031, detail_no=0\n", 20},
      {Path("fifo.jpg"), "", "Error PDF Object: error_no=1017, detail_no=0\n", 20},
  };
  for (const Case& c : cases) {
    const std::string name = "logo" + std::to_string(&c - cases) + ".pdf";
    SCOPED_TRACE(name);
    env_.SetEnv("ZORMPDFLOGOPATH", c.variable.empty() ? nullptr : c.variable.c_str());
    EXPECT_EQ(c.printed, Run(name, [&](Report& report) {
      if (!c.call.empty()) report.SetPdfLogo(c.call.c_str());
      Stock(report, "Logo", nullptr, 60);  // two pages: the logo is loaded once
    }));
    const std::vector<PdfWord> words = ReadPdfWords(Path(name));
    for (int page : {1, 2}) EXPECT_NEAR(c.title_left, Word(words, page, "Logo").left, 0.05);
  }
}

TEST_F(PdfFormatTest, TitlesAndNotesBecomeBookmarksOfTheirFirstPage) {
  const std::string path = Path("outline.pdf");
  Run("outline.pdf", [](Report& report) {
    Stock(report, "Alpha", "first notes", 3);
    report.Trailer();
    report.Header(nullptr, "B\xC3\xA9ta \xE2\x82\xAC", nullptr);  // keeps the notes
    Records(report, 60);
    report.Trailer();
    report.Header(nullptr, "B\xC3\xA9ta \xE2\x82\xAC", "again");  // the same title: no new entry
    Records(report, 1);
  });
  const std::vector<PdfBookmark> outline = ReadPdfOutline(path);
  const struct {
    std::string title, kid;
    int page, kid_page;
  } expected[] = {{"Alpha", "first notes", 1, 1}, {"B\xC3\xA9ta \xE2\x82\xAC", "again", 2, 4}};
  ASSERT_EQ(std::size(expected), outline.size());
  for (size_t i = 0; i < outline.size(); ++i) {
    EXPECT_EQ(expected[i].title, outline[i].title);
    EXPECT_EQ(expected[i].page, outline[i].page);
    ASSERT_EQ(1u, outline[i].kids.size());
    EXPECT_EQ(expected[i].kid, outline[i].kids[0].title);
    EXPECT_EQ(expected[i].kid_page, outline[i].kids[0].page);
  }
  // Beta's pages still show Alpha's notes: notes change only with a notes format.
  EXPECT_FALSE(FindPdfWords(ReadPdfWords(path), 2, "first").empty());
}

TEST_F(PdfFormatTest, TagsFixedNumericAndHiddenCellsDrawAsTheirFlagsSay) {
  using namespace ReportColumnFlag;
  env_.SetEnv("ZORMREPORTCOLUMNDELETE", "3");
  Run("cells.pdf", [](Report& report) {
    report.AddColumn(10, "Name", 0);
    report.AddColumn(10, "Code", Fixed);
    report.AddColumn(9, "Gone", 0);
    report.AddColumn(20, "State", Tags);
    report.Header(nullptr, "Cells", nullptr);
    report.AddRecord("iiii|iiii|hidden|[OPEN][LOCKED]");
    report.AddRecord("b|x|hidden| ]][[ free ] ");
  });
  const std::vector<PdfWord> words = ReadPdfWords(Path("cells.pdf"));
  const double unit = 592.0 / 40, x_code = 15 + 10 * unit, x_state = x_code + 10 * unit;
  // The same four letters: narrow in Helvetica, 0.6 of the size each in Courier.
  const std::vector<PdfWord> iiii = FindPdfWords(words, 1, "iiii");
  ASSERT_EQ(2u, iiii.size());
  const bool in_order = iiii[0].left < iiii[1].left;
  const PdfWord &regular = iiii[in_order ? 0 : 1], &fixed = iiii[in_order ? 1 : 0];
  const PdfWord open = Word(words, 1, "OPEN"), locked = Word(words, 1, "LOCKED");
  const struct {
    const char* what;
    double expected, actual;
  } cases[] = {
      {"Helvetica", 4 * 0.222 * 8, regular.right - regular.left}, {"left", 15, regular.left},
      {"Courier", 4 * 0.6 * 8, fixed.right - fixed.left},         {"code", x_code, fixed.left},
      {"a tag 4 points into its box", x_state + 4, open.left},
      {"2 points between boxes", open.right + 10, locked.left},
      {"brackets without a tag", x_state + 4, Word(words, 1, "free").left},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.expected, c.actual, 0.1) << c.what;
  EXPECT_TRUE(FindPdfWords(words, 1, "hidden").empty());
  const PdfRaster raster = RenderPdfPageGrey(Path("cells.pdf"), 1, 144);
  EXPECT_EQ(0, raster.GreyAt(open.right + 2, 684));    // inside the first box
  EXPECT_EQ(255, raster.GreyAt(open.right + 5, 684));  // the gap between the boxes
}

TEST_F(PdfFormatTest, PageHoldsFiftyFourLinesAndSomeCallsStartANewPage) {
  struct Case {
    int before;
    std::function<void(Report&)> between;
    int page, line;  // where the next record stands (no notes: line 1 at 681)
  } cases[] = {
      {54, [](Report&) {}, 2, 1},
      {5, [](Report& r) { r.Separator(); }, 2, 1},
      {5, [](Report& r) { r.Trailer(); }, 2, 1},
      {5, [](Report& r) { r.Header(nullptr, "Second", nullptr); }, 1, 6},  // waits for the page
      {5, [](Report& r) { r.PdfBanner("Between"); }, 1, 7},   // the banner takes line 6
      {53, [](Report& r) { r.PdfBanner("Closing"); }, 2, 2},  // not on the last line
  };
  for (const Case& c : cases) {
    const std::string name = "between" + std::to_string(&c - cases) + ".pdf";
    SCOPED_TRACE(name);
    Run(name, [&](Report& report) {
      Stock(report, "First", nullptr, c.before);
      c.between(report);
      Records(report, 1, 100);
    });
    ASSERT_EQ(static_cast<size_t>(c.page), ReadPdfPageBoxes(Path(name)).size());
    const std::vector<PdfWord> words = ReadPdfWords(Path(name));
    EXPECT_NEAR(681 - (c.line - 1) * 12, Baseline(Word(words, c.page, "R0100")), 0.1);
    for (const char* banner : {"Between", "Closing"})  // centred on the body width
      for (const PdfWord& word : FindPdfWords(words, c.page, banner))
        EXPECT_NEAR(296, (word.left + word.right) / 2, 0.05) << banner;
  }
}

TEST_F(PdfFormatTest, ChildReportDrawsIntoItsParentsDocument) {
  const std::string path = Path("family.pdf");
  EXPECT_EQ("", Run("family.pdf", [&](Report& parent) {
    Stock(parent, "Parent", nullptr, 3);
    parent.Trailer();
    Report child;
    InitReport(&child);
    child.parent = &parent;
    child.report_number = 5;
    child.AddColumn(20, "Child column", 0);
    child.Header(nullptr, "Child", "child notes");
    for (int i = 0; i < 60; ++i) child.AddRecord("C%02d", i);
    child.Close();
  }));
  ASSERT_EQ(3u, ReadPdfPageBoxes(path).size());
  // The page number runs on in the parent; the report ID is on the child's first page.
  const std::vector<PdfWord> words = ReadPdfWords(path);
  for (auto [page, text, count] : {std::tuple{1, "Parent", 1u}, {2, "C00", 1u}, {3, "C59", 1u},
                                   {1, "Report-ID", 0u}, {2, "005", 1u}, {3, "005", 0u},
                                   {3, "3", 1u}})
    EXPECT_EQ(count, FindPdfWords(words, page, text).size()) << text << " on page " << page;
}

TEST_F(PdfFormatTest, DocumentGoesToTheDefaultFileOrIntoTheCgiResponse) {
  // Without a name the time stamp names the file, or in CGI mode the attachment.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(env_.path());
  uint32_t result = 99;
  EXPECT_EQ("", Run("", [](Report& r) { Stock(r, "Default", nullptr, 1); }, &result));
  EXPECT_EQ(0u, result);
  EXPECT_TRUE(PdfStructureIsSound(Path(kStamp)));
  std::filesystem::remove(Path(kStamp));
  env_.SetEnv("REQUEST_URI", "/cgi/report?RPT=pdf");
  env_.SetEnv("QUERY_STRING", "RPT=pdf");
  const std::string response = Run("", [](Report& r) { Stock(r, "Streamed", nullptr, 70); });
  std::filesystem::current_path(before);
  EXPECT_FALSE(std::filesystem::exists(Path(kStamp)));
  const std::string head = "Content-type: application/pdf\r\nContent-disposition: attachment; "
                           "filename=\"" + kStamp + "\"\r\nContent-Length: ";
  ASSERT_EQ(0u, response.find(head)) << response.substr(0, 200);
  const size_t end_of_length = response.find("\n\r\n", head.size());
  ASSERT_NE(std::string::npos, end_of_length);
  const std::string body = response.substr(end_of_length + 3);
  EXPECT_EQ(std::to_string(body.size()), response.substr(head.size(), end_of_length - head.size()));
  ASSERT_TRUE(WriteWholeFile(Path("streamed.pdf"), body));
  EXPECT_EQ(2u, ReadPdfPageBoxes(Path("streamed.pdf")).size());
}

}  // namespace
