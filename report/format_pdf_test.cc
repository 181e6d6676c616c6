// The PDF format, read back with poppler, qpdf and zbarimg.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "report/pdf_page.h"
#include "report/report.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

// Thursday, March 04, 2021 - 15:30:00 UTC.
constexpr time_t kCreation = 1614871800;
constexpr const char* kCreationText = "Thursday, March 04, 2021 - 15:30:00";

// Standard output of the code between construction and Stop(): the PDF library's
// error lines and the CGI response go there.
class CapturedStdout {
 public:
  explicit CapturedStdout(const std::string& path) : path_(path) {
    fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    FILE* file = fopen(path.c_str(), "wb");
    dup2(fileno(file), STDOUT_FILENO);
    fclose(file);
  }
  ~CapturedStdout() { Stop(); }
  const std::string& Stop() {
    if (saved_ >= 0) {
      fflush(stdout);
      dup2(saved_, STDOUT_FILENO);
      close(saved_);
      saved_ = -1;
      text_ = ReadWholeFile(path_);
    }
    return text_;
  }

 private:
  std::string path_;
  int saved_ = -1;
  std::string text_;
};

// The baseline of a word set in Helvetica: poppler boxes it from the font's
// descent (0.207 of the size) to its ascent (0.718).
double Baseline(const PdfWord& word) {
  return word.bottom + (word.top - word.bottom) * 0.207 / 0.925;
}

class PdfFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_.SetEnv("TZ", "UTC");
    tzset();
    home_.SetEnv("ZORMREPORTFORMAT", "pdf");
    for (const char* name : {"ZORMPDFLOGOPATH", "ZORMPDFOUTPUTPATH", "ZORMPDFORIENTATION",
                             "ZORMPDFPAGESIZE", "ZORMPDFBLANKPAGETEXT", "ZORMREPORTCOLUMNDELETE",
                             "REQUEST_URI", "QUERY_STRING", "REQUEST_METHOD"})
      home_.SetEnv(name, nullptr);
  }
  void TearDown() override {
    home_.SetEnv("TZ", nullptr);
    tzset();
  }

  std::string Path(const std::string& name) const { return home_.path() + "/" + name; }

  // Runs `write` on a fresh PDF report that saves to `name`, closes it and
  // returns what it printed; the save result goes to `save_result`.
  std::string Run(const std::string& name, const std::function<void(Report&)>& write,
                  uint32_t* save_result = nullptr) {
    CapturedStdout output(Path(name + ".out"));
    {
      Report report;
      InitReport(&report);
      report.SetPdfOutputPath(Path(name).c_str());
      write(report);
      report.Close();
      if (save_result != nullptr) *save_result = report.pdf_save_result;
    }
    return output.Stop();
  }

  // Item (10), Description (30), Qty (8, right-aligned number): 592 points of
  // page width share 48 characters.
  static void AddStockColumns(Report& report) {
    report.AddColumn(10, "Item", 0);
    report.AddColumn(30, "Description", 0);
    report.AddColumn(8, "Qty", ReportColumnFlag::RightAlign | ReportColumnFlag::Numeric);
  }

  static void AddStockRecords(Report& report, int count, int first = 1) {
    for (int i = first; i < first + count; ++i)
      report.AddRecord("R%04d|Widget %d|%d", i, i, i * 1000);
  }

  ScopedTestHome home_;
  ScopedFixedTime time_{kCreation};
};

TEST_F(PdfFormatTest, LetterPageHeadingRecordsAndFooterStandWhereDrawn) {
  const std::string path = Path("stock.pdf");
  const std::string printed = Run("stock.pdf", [](Report& report) {
    report.report_number = 3;
    AddStockColumns(report);
    report.Header(nullptr, "Stock", "Warehouse %d", 7);
    AddStockRecords(report, 60);
    report.Trailer();
  });
  EXPECT_EQ("", printed);
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::vector<PdfPageBox> boxes = ReadPdfPageBoxes(path);
  ASSERT_EQ(2u, boxes.size());
  EXPECT_DOUBLE_EQ(612, boxes[0].width);
  EXPECT_DOUBLE_EQ(792, boxes[0].height);

  const std::vector<PdfWord> words = ReadPdfWords(path);
  struct Expected {
    const char* text;
    int page;
    double left;   // < 0: not checked
    double right;  // < 0: not checked
    double baseline;
  } expected[] = {
      {"Stock", 1, 20, -1, 742},       // title in the bar
      {"Warehouse", 1, 10, -1, 717},   // notes
      {"Production", 1, 10, -1, 702},  // production time
      {"Item", 1, 15, -1, 679},        // headings in the grey band
      {"Description", 1, 15 + 10 * 592.0 / 48, -1, 679},
      {"Qty", 1, -1, 602, 679},             // right-aligned, 5 points inside the column
      {"R0001", 1, 15, -1, 666},            // first record line
      {"1,000", 1, -1, 602, 666},           // numeric cell with separators
      {"R0052", 1, 15, -1, 666 - 51 * 12},  // the last of 52 lines
      {"R0053", 2, 15, -1, 666},            // page 2 starts over
      {"1", 1, -1, 602, 20},                // "Page 1" ends at the right margin
      {"2", 2, -1, 602, 20},
      {"Report-ID", 1, 15, -1, 21},  // in the box, first page only
  };
  for (const Expected& e : expected) {
    const std::vector<PdfWord> found = FindPdfWords(words, e.page, e.text);
    ASSERT_FALSE(found.empty()) << e.text << " on page " << e.page;
    const PdfWord& word = e.text == std::string("1") || e.text == std::string("2")
                              ? found.back()  // the page number is the lowest one
                              : found.front();
    if (e.left >= 0) {
      EXPECT_NEAR(e.left, word.left, 0.05) << e.text;
    }
    if (e.right >= 0) {
      EXPECT_NEAR(e.right, word.right, 0.05) << e.text;
    }
    EXPECT_NEAR(e.baseline, Baseline(word), e.text == std::string("Report-ID") ? 2 : 0.1) << e.text;
  }
  EXPECT_TRUE(FindPdfWords(words, 2, "Report-ID").empty());

  // The notice line is centred on the page.
  const std::string page_text = ReadPdfPageText(path, 1);
  EXPECT_NE(std::string::npos,
            page_text.find(std::string("Production Time: ") + kCreationText + " (UTC)"));
  EXPECT_NE(std::string::npos, page_text.find("Calvaro Report Writer \xC2\xA9 2004-2026 Morvend"));
  const std::vector<PdfWord> first = FindPdfWords(words, 1, "Calvaro");
  const std::vector<PdfWord> last = FindPdfWords(words, 1, "Morvend");
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(last.empty());
  EXPECT_NEAR(306, (first.back().left + last.back().right) / 2, 0.5);

  for (int page : {1, 2}) {
    EXPECT_EQ(std::to_string(page) + ";Stock;" + kCreationText, DecodeMirroredQrCode(path, page))
        << "page " << page;
  }
}

TEST_F(PdfFormatTest, RowsAreShadedEverySecondLineAndTheTitleBarIsDark) {
  const std::string path = Path("shade.pdf");
  Run("shade.pdf", [](Report& report) {
    AddStockColumns(report);
    report.Header(nullptr, "Shading", "notes");
    AddStockRecords(report, 4);
    report.Trailer();
  });
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 144);
  ASSERT_GT(raster.width, 0);
  // Sample beside the text, in the middle of each line (line n spans
  // 663 - 12 (n - 1) to 12 points above).
  const double x = 300;
  EXPECT_EQ(255, raster.GreyAt(x, 663 + 6));    // line 1: plain
  EXPECT_EQ(250, raster.GreyAt(x, 651 + 6));    // line 2: shaded 0.98
  EXPECT_EQ(255, raster.GreyAt(x, 639 + 6));    // line 3
  EXPECT_EQ(250, raster.GreyAt(x, 627 + 6));    // line 4
  EXPECT_EQ(204, raster.GreyAt(x, 675 + 6));    // heading band 0.8
  EXPECT_LT(raster.GreyAt(300, 732 + 15), 80);  // title bar (dark blue)
  EXPECT_EQ(255, raster.GreyAt(5, 732 + 15));   // left of the bar
  EXPECT_LT(raster.GreyAt(300, 30), 200);       // bottom rule
}

TEST_F(PdfFormatTest, PageHoldsFiftyTwoRecordsWithNotesAndFiftyFourWithout) {
  struct Case {
    bool notes;
    int lines;
    double first_baseline;
  } cases[] = {{true, 52, 666}, {false, 54, 681}};
  for (const Case& c : cases) {
    const std::string name = c.notes ? "notes.pdf" : "plain.pdf";
    const std::string path = Path(name);
    Run(name, [&](Report& report) {
      AddStockColumns(report);
      if (c.notes)
        report.Header(nullptr, "Lines", "%s", "");
      else
        report.Header(nullptr, "Lines", nullptr);
      AddStockRecords(report, 2 * c.lines + 1);
      report.Trailer();
    });
    EXPECT_EQ(3u, ReadPdfPageBoxes(path).size()) << name;
    const std::vector<PdfWord> words = ReadPdfWords(path);
    char last[16], next[16], final_record[16];
    snprintf(last, sizeof last, "R%04d", c.lines);
    snprintf(next, sizeof next, "R%04d", c.lines + 1);
    snprintf(final_record, sizeof final_record, "R%04d", 2 * c.lines + 1);
    const struct {
      const char* text;
      int page;
      double baseline;
    } placed[] = {
        {"R0001", 1, c.first_baseline},
        {last, 1, c.first_baseline - (c.lines - 1) * 12},
        {next, 2, c.first_baseline},
        {final_record, 3, c.first_baseline},
    };
    for (const auto& p : placed) {
      const std::vector<PdfWord> found = FindPdfWords(words, p.page, p.text);
      ASSERT_EQ(1u, found.size()) << name << " " << p.text;
      EXPECT_NEAR(p.baseline, Baseline(found[0]), 0.1) << name << " " << p.text;
    }
  }
}

TEST_F(PdfFormatTest, PageSizeAndOrientationComeFromTheEnvironmentOrTheCalls) {
  struct Case {
    const char* size_variable;         // null: unset
    const char* orientation_variable;  // null: unset
    int size_call;                     // -1: not called
    int orientation_call;              // -1: not called
    double width, height;
  } cases[] = {
      {nullptr, nullptr, -1, -1, 612, 792},
      {"a4", "LANDSCAPE", -1, -1, 841.89, 595.276},
      {"tabloid", nullptr, -1, -1, 612, 792},
      {"Legal", "portrait", -1, -1, 612, 1008},
      {"EXECUTIVE", "sideways", -1, 1, 522, 756},
      {nullptr, nullptr, 4, 1, 595.276, 419.528},  // A5 landscape by calls
      {nullptr, nullptr, 11, 0, 297, 684},         // Comm 10 envelope
      {"b5", nullptr, 4, -1, 498.898, 708.661},    // the variable wins
      {"A3", nullptr, -1, -1, 841.89, 1190.551},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "size" + std::to_string(n++) + ".pdf";
    home_.SetEnv("ZORMPDFPAGESIZE", c.size_variable);
    home_.SetEnv("ZORMPDFORIENTATION", c.orientation_variable);
    const std::string printed = Run(name, [&](Report& report) {
      if (c.size_call >= 0) report.SetPdfPageSize(c.size_call);
      if (c.orientation_call >= 0) report.SetPdfOrientation(c.orientation_call);
      AddStockColumns(report);
      report.Header(nullptr, "Sizes", nullptr);
      AddStockRecords(report, 3);
      report.Trailer();
    });
    EXPECT_EQ("", printed) << name;
    const std::vector<PdfPageBox> boxes = ReadPdfPageBoxes(Path(name));
    ASSERT_EQ(1u, boxes.size()) << name;
    EXPECT_NEAR(c.width, boxes[0].width, 0.001) << name;
    EXPECT_NEAR(c.height, boxes[0].height, 0.001) << name;
  }
}

TEST_F(PdfFormatTest, InvalidPageSizesAndOrientationsReachTheErrorHandler) {
  struct Case {
    uint32_t size;
    uint32_t orientation;
    const char* line;
  } cases[] = {
      {12, 0, "Error PDF Object: error_no=1054, detail_no=0\n"},  // the library's end marker
      {99, 1, "Error PDF Object: error_no=1054, detail_no=1\n"},
      {0xFFFFFFFF, 0, "Error PDF Object: error_no=1054, detail_no=0\n"},
      {3, 2, "Error PDF Object: error_no=1074, detail_no=2\n"},
      {0, 0xFFFFFFFF, "Error PDF Object: error_no=1074, detail_no=2\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "bad" + std::to_string(n++) + ".pdf";
    uint32_t result = 0;
    const std::string printed = Run(
        name,
        [&](Report& report) {
          report.SetPdfPageSize(c.size);
          report.SetPdfOrientation(c.orientation);
          AddStockColumns(report);
          report.Header(nullptr, "Bad size", nullptr);
          AddStockRecords(report, 120);
          report.Trailer();
        },
        &result);
    EXPECT_EQ(0u, printed.find(c.line)) << name << ": " << printed;
    // The document carries the error, so it is not saved.
    EXPECT_EQ(0x1025u, result) << name;
    EXPECT_FALSE(std::filesystem::exists(Path(name))) << name;
  }
}

TEST_F(PdfFormatTest, LogoMovesTheTitleBarAndAFailedLoadLeavesPagesWithoutIt) {
  const std::string jpeg = Path("logo.jpg");
  ASSERT_EQ(0, system(("/usr/bin/python3 -c 'from PIL import Image; "
                       "Image.new(\"RGB\", (158, 39), (255, 255, 0)).save(\"" +
                       jpeg + "\")'")
                          .c_str()));
  ASSERT_TRUE(WriteWholeFile(Path("logo.png"), "\x89PNG\r\n\x1a\nnot really"));
  ASSERT_TRUE(WriteWholeFile(Path("cut.jpg"), "\xFF\xD8\xFF\xE0garbage"));
  struct Case {
    const char* name;
    std::string variable;  // ZORMPDFLOGOPATH, empty: unset
    std::string call;      // SetPdfLogo, empty: not called
    const char* printed;
    double title_left;
  } cases[] = {
      {"none", "", "", "", 20},
      {"jpeg by variable", jpeg, "", "", 198},
      {"jpeg by call", "", jpeg, "", 198},
      {"missing file by variable", Path("absent.jpg"), "",
       "Error PDF Object: error_no=1017, detail_no=2\n", 20},
      {"missing file by call (ignored)", "", Path("absent.jpg"), "", 20},
      {"not a JPEG", Path("logo.png"), "", "Error PDF Object: error_no=1031, detail_no=0\n", 20},
      {"JPEG start without a frame", Path("cut.jpg"), "",
       "Error PDF Object: error_no=1031, detail_no=0\n", 20},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "logo" + std::to_string(n++) + ".pdf";
    home_.SetEnv("ZORMPDFLOGOPATH", c.variable.empty() ? nullptr : c.variable.c_str());
    const std::string printed = Run(name, [&](Report& report) {
      if (!c.call.empty()) report.SetPdfLogo(c.call.c_str());
      AddStockColumns(report);
      report.Header(nullptr, "Logo", nullptr);
      AddStockRecords(report, 60);  // two pages: the logo is loaded once
      report.Trailer();
    });
    if (c.printed[0] == '\0')
      EXPECT_EQ("", printed) << c.name;
    else
      EXPECT_EQ(0u, printed.find(c.printed)) << c.name << ": " << printed;
    EXPECT_EQ(std::string::npos, printed.find('\n', printed.find('\n') + 1))
        << c.name << ": one line at most";
    const std::string path = Path(name);
    ASSERT_TRUE(PdfStructureIsSound(path)) << c.name;
    const std::vector<PdfWord> words = ReadPdfWords(path);
    for (int page : {1, 2}) {
      const std::vector<PdfWord> title = FindPdfWords(words, page, "Logo");
      ASSERT_EQ(1u, title.size()) << c.name;
      EXPECT_NEAR(c.title_left, title[0].left, 0.05) << c.name << " page " << page;
    }
    // A loaded logo is painted in its yellow at the top left, where the title bar
    // (dark blue) would be without it.
    const PdfRaster raster = RenderPdfPageGrey(path, 2, 72);
    const int grey = raster.GreyAt(80, 792 - 30 - 20);
    if (c.title_left > 100)
      EXPECT_NEAR(226, grey, 10) << c.name;
    else
      EXPECT_LT(grey, 100) << c.name;
  }
}

TEST_F(PdfFormatTest, TitlesAndNotesBecomeBookmarksOfTheirFirstPage) {
  const std::string path = Path("outline.pdf");
  Run("outline.pdf", [](Report& report) {
    AddStockColumns(report);
    report.Header(nullptr, "Alpha", "first %s", "notes");
    AddStockRecords(report, 3);
    report.Trailer();
    report.Header(nullptr, "Beta", nullptr);  // keeps the notes, adds no notes bookmark
    AddStockRecords(report, 60);
    report.Trailer();
    report.Header(nullptr, "Beta", "again");  // same title: no new top-level entry
    AddStockRecords(report, 1);
    report.Trailer();
    report.Header(nullptr, "M\xC3\xBCller \xE2\x82\xAC", "%s", "");
    AddStockRecords(report, 1);
    report.Trailer();
  });
  ASSERT_TRUE(PdfStructureIsSound(path));
  std::string error;
  const std::vector<PdfBookmark> outline = ReadPdfOutline(path, &error);
  ASSERT_EQ(3u, outline.size()) << error;
  EXPECT_EQ("Alpha", outline[0].title);
  EXPECT_EQ(1, outline[0].page);
  ASSERT_EQ(1u, outline[0].kids.size());
  EXPECT_EQ("first notes", outline[0].kids[0].title);
  EXPECT_EQ(1, outline[0].kids[0].page);
  EXPECT_EQ("Beta", outline[1].title);
  EXPECT_EQ(2, outline[1].page);
  ASSERT_EQ(1u, outline[1].kids.size());
  EXPECT_EQ("again", outline[1].kids[0].title);
  EXPECT_EQ(4, outline[1].kids[0].page);
  EXPECT_EQ("M\xC3\xBCller \xE2\x82\xAC", outline[2].title);
  EXPECT_EQ(5, outline[2].page);
  ASSERT_EQ(1u, outline[2].kids.size());
  EXPECT_EQ("", outline[2].kids[0].title);
  EXPECT_EQ(5u, ReadPdfPageBoxes(path).size());
  // Beta's pages still show Alpha's notes: notes change only with a notes format.
  EXPECT_FALSE(FindPdfWords(ReadPdfWords(path), 2, "first").empty());
}

TEST_F(PdfFormatTest, AccentedLatinPrintsAndOtherCharactersPrintAsQuestionMarks) {
  const std::string path = Path("accents.pdf");
  const std::string printed = Run("accents.pdf", [](Report& report) {
    report.AddColumn(40,
                     "Stra\xC3\x9F"
                     "e",
                     0);
    report.Header(nullptr, "\xC3\x89t\xC3\xA9 \xC5\x92uvre", "Z\xC3\xBCrich \xE2\x80\x93 %s",
                  "\xE2\x82\xAC");
    report.AddRecord("%s", "M\xC3\xBCller \xC3\xA5 \xC3\xB1 \xC3\xBF \xE2\x84\xA2");
    report.AddRecord("%s", "\xE6\x97\xA5\xE6\x9C\xAC \xD0\x96 \xF0\x9F\x98\x80 end");
    report.AddRecord("%s", "Latin-1 M\xFCller");  // not UTF-8
    report.Trailer();
  });
  EXPECT_EQ("", printed);
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::string text = ReadPdfPageText(path, 1);
  for (const char* expected : {
           "\xC3\x89t\xC3\xA9 \xC5\x92uvre",           // Été Œuvre
           "Z\xC3\xBCrich \xE2\x80\x93 \xE2\x82\xAC",  // Zürich – €
           "Stra\xC3\x9F"
           "e",                                                      // Straße
           "M\xC3\xBCller \xC3\xA5 \xC3\xB1 \xC3\xBF \xE2\x84\xA2",  // Müller å ñ ÿ ™
           "?? ? ? end",                                             // CJK, Cyrillic, emoji
           "Latin-1 M?ller",
       }) {
    EXPECT_NE(std::string::npos, text.find(expected)) << expected << "\n" << text;
  }
}

TEST_F(PdfFormatTest, TagsFixedAndNumericCellsDrawAsTheirFlagsSay) {
  const std::string path = Path("cells.pdf");
  Run("cells.pdf", [](Report& report) {
    report.AddColumn(10, "Name", 0);
    report.AddColumn(10, "Code", ReportColumnFlag::Fixed);
    report.AddColumn(20, "State", ReportColumnFlag::Tags);
    report.AddColumn(10, "Count", ReportColumnFlag::Numeric | ReportColumnFlag::RightAlign);
    report.AddColumn(
        8, "Plain",
        ReportColumnFlag::Numeric | ReportColumnFlag::PlainNumber | ReportColumnFlag::RightAlign);
    report.Header(nullptr, "Cells", nullptr);
    report.AddRecord("iiii|iiii|[OPEN][LOCKED]|1234567|1234567");
    report.AddRecord("b|x| ]][[ free ] |?12|0");
    report.Trailer();
  });
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::vector<PdfWord> words = ReadPdfWords(path);
  const double unit = 592.0 / 58;
  const double x_code = 15 + 10 * unit, x_state = x_code + 10 * unit;
  const double end_count = x_state + 30 * unit - 5, end_plain = end_count + 8 * unit;

  // The same four letters: narrow in Helvetica, 0.6 of the size each in Courier.
  const std::vector<PdfWord> iiii = FindPdfWords(words, 1, "iiii");
  ASSERT_EQ(2u, iiii.size());
  const PdfWord& regular = iiii[0].left < iiii[1].left ? iiii[0] : iiii[1];
  const PdfWord& fixed = iiii[0].left < iiii[1].left ? iiii[1] : iiii[0];
  EXPECT_NEAR(15, regular.left, 0.05);
  EXPECT_NEAR(4 * 0.222 * 8, regular.right - regular.left, 0.1);
  EXPECT_NEAR(x_code, fixed.left, 0.05);
  EXPECT_NEAR(4 * 0.6 * 8, fixed.right - fixed.left, 0.1);

  // Tags: white words in boxes, 4 points in, 2 points between the boxes.
  const std::vector<PdfWord> open = FindPdfWords(words, 1, "OPEN");
  const std::vector<PdfWord> locked = FindPdfWords(words, 1, "LOCKED");
  const std::vector<PdfWord> free_tag = FindPdfWords(words, 1, "free");
  ASSERT_EQ(1u, open.size());
  ASSERT_EQ(1u, locked.size());
  ASSERT_EQ(1u, free_tag.size());
  EXPECT_NEAR(x_state + 4, open[0].left, 0.05);
  EXPECT_NEAR(open[0].right + 10, locked[0].left, 0.05);
  EXPECT_NEAR(x_state + 4, free_tag[0].left, 0.05);
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 144);
  // Line 1 without notes: 678 to 690, the boxes 1 point inside.
  EXPECT_EQ(0, raster.GreyAt(open[0].right + 2, 684));    // inside the first box
  EXPECT_EQ(255, raster.GreyAt(open[0].right + 5, 684));  // the gap between the boxes

  // Numbers: separators, right-aligned; '?' unchanged; plain digits; 0 blank.
  const struct {
    const char* text;
    double right;
  } numbers[] = {{"1,234,567", end_count}, {"1234567", end_plain}, {"?12", end_count}};
  for (const auto& number : numbers) {
    const std::vector<PdfWord> found = FindPdfWords(words, 1, number.text);
    ASSERT_EQ(1u, found.size()) << number.text;
    EXPECT_NEAR(number.right, found[0].right, 0.05) << number.text;
  }
  EXPECT_TRUE(FindPdfWords(words, 1, "0").empty());
}

TEST_F(PdfFormatTest, HiddenColumnsGiveTheirWidthToTheOthers) {
  home_.SetEnv("ZORMREPORTCOLUMNDELETE", "2");
  const std::string path = Path("hidden.pdf");
  Run("hidden.pdf", [](Report& report) {
    AddStockColumns(report);
    report.Header(nullptr, "Hidden", nullptr);
    AddStockRecords(report, 2);
    report.Trailer();
  });
  const std::vector<PdfWord> words = ReadPdfWords(path);
  EXPECT_TRUE(FindPdfWords(words, 1, "Description").empty());
  EXPECT_TRUE(FindPdfWords(words, 1, "Widget").empty());
  const std::vector<PdfWord> quantity = FindPdfWords(words, 1, "2,000");
  ASSERT_EQ(1u, quantity.size());
  EXPECT_NEAR(602, quantity[0].right, 0.05);  // 592 points over 18 characters
  const std::vector<PdfWord> heading = FindPdfWords(words, 1, "Qty");
  ASSERT_EQ(1u, heading.size());
  EXPECT_NEAR(15 + 10 * 592.0 / 18 + 8 * 592.0 / 18 - 5, heading[0].right, 0.05);
}

TEST_F(PdfFormatTest, BannersTakeTheNextLineOrStartAPage) {
  const std::string path = Path("banner.pdf");
  Run("banner.pdf", [](Report& report) {
    AddStockColumns(report);
    report.Header(nullptr, "Banners", "notes");
    report.PdfBanner("Opening");     // line 2 of a new page; line 1 stays empty
    AddStockRecords(report, 3);      // lines 3 to 5
    report.PdfBanner("Middle");      // line 6
    AddStockRecords(report, 45, 4);  // lines 7 to 51
    report.PdfBanner("Closing");     // would be the last line: line 1 of page 2
    report.AddRecord("After|x|1");
    report.Trailer();
  });
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::vector<PdfWord> words = ReadPdfWords(path);
  const struct {
    const char* text;
    int page;
    int line;
  } placed[] = {{"Opening", 1, 2}, {"R0001", 1, 3},  {"R0003", 1, 5},   {"Middle", 1, 6},
                {"R0004", 1, 7},   {"R0048", 1, 51}, {"Closing", 2, 1}, {"After", 2, 2}};
  for (const auto& p : placed) {
    const std::vector<PdfWord> found = FindPdfWords(words, p.page, p.text);
    ASSERT_EQ(1u, found.size()) << p.text;
    EXPECT_NEAR(666 - (p.line - 1) * 12, Baseline(found[0]), 0.1) << p.text;
  }
  // The banner text is centred on the body width, white on a black box.
  const PdfWord opening = FindPdfWords(words, 1, "Opening").at(0);
  EXPECT_NEAR(296, (opening.left + opening.right) / 2, 0.05);
  const PdfRaster raster = RenderPdfPageGrey(path, 1, 144);
  EXPECT_EQ(0, raster.GreyAt(opening.left - 10, 654 + 6));
  EXPECT_LT(raster.GreyAt(50, 657), 200);  // the rule across the line
}

TEST_F(PdfFormatTest, SeparatorResetAndTrailerStartTheNextRecordOnANewPage) {
  struct Case {
    const char* name;
    std::function<void(Report&)> between;
    unsigned pages;
  } cases[] = {
      {"separator", [](Report& r) { r.Separator(); }, 2},
      {"reset", [](Report& r) { r.ResetCounters(); }, 2},
      {"trailer", [](Report& r) { r.Trailer(); }, 2},
      {"header alone waits for the page to fill",
       [](Report& r) { r.Header(nullptr, "Second", nullptr); }, 1},
      {"banner stays on the page", [](Report& r) { r.PdfBanner("Between"); }, 1},
  };
  for (const Case& c : cases) {
    const std::string name = std::string("between-") + std::to_string(&c - cases) + ".pdf";
    Run(name, [&](Report& report) {
      AddStockColumns(report);
      report.Header(nullptr, "First", nullptr);
      AddStockRecords(report, 5);
      c.between(report);
      AddStockRecords(report, 2, 6);
      report.Trailer();
    });
    ASSERT_EQ(c.pages, ReadPdfPageBoxes(Path(name)).size()) << c.name;
    const std::vector<PdfWord> after = FindPdfWords(ReadPdfWords(Path(name)), c.pages, "R0006");
    ASSERT_EQ(1u, after.size()) << c.name;
    // A new page begins at line 1 (no notes: baseline 681); on the same page the
    // record follows line 5, or line 6 when a banner took it.
    const int line = c.pages == 2 ? 1 : (std::string(c.name).find("banner") == 0 ? 7 : 6);
    EXPECT_NEAR(681 - (line - 1) * 12, Baseline(after[0]), 0.1) << c.name;
  }
}

TEST_F(PdfFormatTest, EmptySectionGetsABlankPageOnlyWithItsText) {
  for (const char* text : {static_cast<const char*>(nullptr), "Nothing to report"}) {
    home_.SetEnv("ZORMPDFBLANKPAGETEXT", text);
    const std::string name = text != nullptr ? "blank.pdf" : "none.pdf";
    Run(name, [](Report& report) {
      AddStockColumns(report);
      report.Header(nullptr, "Full", nullptr);
      AddStockRecords(report, 2);
      report.Trailer();
      report.Header(nullptr, "Empty", nullptr);
      report.Trailer();
      report.Header(nullptr, "Full again", nullptr);
      AddStockRecords(report, 1);
      report.Trailer();
    });
    const std::string path = Path(name);
    ASSERT_TRUE(PdfStructureIsSound(path)) << name;
    const std::vector<PdfPageBox> boxes = ReadPdfPageBoxes(path);
    ASSERT_EQ(text != nullptr ? 3u : 2u, boxes.size()) << name;
    if (text == nullptr) continue;
    const std::vector<PdfWord> words = ReadPdfWords(path);
    EXPECT_FALSE(FindPdfWords(words, 2, "Empty").empty());
    const std::vector<PdfWord> nothing = FindPdfWords(words, 2, "Nothing");
    ASSERT_EQ(1u, nothing.size());
    EXPECT_NEAR((792 - 30) / 2 + 10, Baseline(nothing[0]), 0.2);
    const PdfRaster raster = RenderPdfPageGrey(path, 2, 72);
    EXPECT_EQ(204, raster.GreyAt(590, 381 + 15));  // the grey box
    EXPECT_FALSE(FindPdfWords(words, 3, "Full").empty());
  }
}

TEST_F(PdfFormatTest, ChildReportDrawsIntoItsParentsDocument) {
  const std::string path = Path("family.pdf");
  uint32_t child_result = 99;
  bool written_before_parent_closed = true;
  const std::string printed = Run("family.pdf", [&](Report& parent) {
    AddStockColumns(parent);
    parent.Header(nullptr, "Parent", nullptr);
    AddStockRecords(parent, 3);
    parent.Trailer();
    Report child;
    InitReport(&child);
    child.parent = &parent;
    child.report_number = 5;
    child.AddColumn(20, "Child column", 0);
    child.Header(nullptr, "Child", "child notes");
    for (int i = 0; i < 60; ++i) child.AddRecord("C%02d", i);
    child.Trailer();
    child.Close();
    child_result = child.pdf_save_result;
    written_before_parent_closed = std::filesystem::exists(Path("family.pdf"));
  });
  EXPECT_EQ("", printed);
  EXPECT_EQ(0u, child_result);
  EXPECT_FALSE(written_before_parent_closed);
  ASSERT_TRUE(PdfStructureIsSound(path));
  ASSERT_EQ(3u, ReadPdfPageBoxes(path).size());
  const std::vector<PdfWord> words = ReadPdfWords(path);
  EXPECT_FALSE(FindPdfWords(words, 1, "Parent").empty());
  EXPECT_FALSE(FindPdfWords(words, 2, "Child").empty());
  EXPECT_FALSE(FindPdfWords(words, 3, "C59").empty());
  // The page number runs on in the parent; the report ID is on the child's first page.
  EXPECT_FALSE(FindPdfWords(words, 3, "3").empty());
  EXPECT_TRUE(FindPdfWords(words, 1, "Report-ID").empty());
  EXPECT_FALSE(FindPdfWords(words, 2, "005").empty());
  EXPECT_TRUE(FindPdfWords(words, 3, "005").empty());
  EXPECT_EQ(std::string("3;Child;") + kCreationText, DecodeMirroredQrCode(path, 3));
  const std::vector<PdfBookmark> outline = ReadPdfOutline(path);
  ASSERT_EQ(2u, outline.size());
  EXPECT_EQ("Child", outline[1].title);
  EXPECT_EQ(2, outline[1].page);
}

TEST_F(PdfFormatTest, SaveResultAndFileNames) {
  // Default name in the working folder, from the creation time.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(home_.path());
  uint32_t result = 99;
  {
    CapturedStdout output(Path("default.out"));
    Report report;
    InitReport(&report);
    AddStockColumns(report);
    report.Header(nullptr, "Default", nullptr);
    AddStockRecords(report, 1);
    report.Close();  // no Trailer, as the list export does it
    result = report.pdf_save_result;
  }
  std::filesystem::current_path(before);
  EXPECT_EQ(0u, result);
  EXPECT_TRUE(PdfStructureIsSound(Path("Report-2021-03-04-15-30-00.pdf")));

  // The variable wins over the call; a folder that does not exist fails the save.
  home_.SetEnv("ZORMPDFOUTPUTPATH", Path("missing-folder/out.pdf").c_str());
  const std::string printed = Run(
      "ignored.pdf",
      [](Report& report) {
        AddStockColumns(report);
        report.Header(nullptr, "Nowhere", nullptr);
        AddStockRecords(report, 1);
      },
      &result);
  EXPECT_EQ(0x1017u, result);
  EXPECT_EQ(0u, printed.find("Error PDF Object: error_no=1017, detail_no=")) << printed;
  EXPECT_FALSE(std::filesystem::exists(Path("ignored.pdf")));
}

TEST_F(PdfFormatTest, CgiResponseCarriesTheDocumentWithItsLength) {
  home_.SetEnv("REQUEST_URI", "/cgi/report?RPT=pdf");
  home_.SetEnv("REQUEST_METHOD", "GET");
  home_.SetEnv("QUERY_STRING", "RPT=pdf");
  home_.SetEnv("ZORMREPORTFORMAT", "text");  // not consulted in CGI mode
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(home_.path());
  std::string response;
  {
    CapturedStdout output(Path("cgi.out"));
    Report report;
    InitReport(&report);
    AddStockColumns(report);
    report.Header(nullptr, "Streamed", nullptr);
    AddStockRecords(report, 70);
    report.Trailer();
    report.Close();
    response = output.Stop();
  }
  std::filesystem::current_path(before);
  EXPECT_FALSE(std::filesystem::exists(Path("Report-2021-03-04-15-30-00.pdf")));

  const std::string head =
      "Content-type: application/pdf\r\n"
      "Content-disposition: attachment; filename=\"Report-2021-03-04-15-30-00.pdf\"\r\n"
      "Content-Length: ";
  ASSERT_EQ(0u, response.find(head)) << response.substr(0, 200);
  const size_t end_of_length = response.find("\n\r\n", head.size());
  ASSERT_NE(std::string::npos, end_of_length);
  const unsigned long length = std::stoul(response.substr(head.size(), end_of_length));
  const std::string body = response.substr(end_of_length + 3);
  EXPECT_EQ(length, body.size());
  EXPECT_EQ(0u, body.find("%PDF-"));
  ASSERT_TRUE(WriteWholeFile(Path("streamed.pdf"), body));
  ASSERT_TRUE(PdfStructureIsSound(Path("streamed.pdf")));
  EXPECT_EQ(2u, ReadPdfPageBoxes(Path("streamed.pdf")).size());
  EXPECT_EQ(std::string("1;Streamed;") + kCreationText,
            DecodeMirroredQrCode(Path("streamed.pdf"), 1));
}

TEST_F(PdfFormatTest, HostileValuesNeverBreakTheDocument) {
  std::string every_byte;
  for (int b = 1; b < 256; ++b) every_byte += static_cast<char>(b);
  const std::string long_value(1023, 'W');
  struct Case {
    const char* name;
    int columns;
    uint32_t flags;
    std::string title;
    std::string notes;
    std::string record;
  } cases[] = {
      {"every byte", 3, 0, every_byte, every_byte, every_byte},
      {"every byte in numeric tags", 3,
       ReportColumnFlag::Numeric | ReportColumnFlag::Tags | ReportColumnFlag::Fixed, every_byte,
       every_byte, every_byte},
      {"long values", 2, 0, std::string(3000, 'T'), std::string(3000, 'N'), long_value},
      {"title beyond 64 KB", 2, 0, std::string(70000, 'T'), "n", "v"},
      {"empty title and notes", 4, ReportColumnFlag::RightAlign, "", "", " | | "},
      {"32 columns of width 1", 32, ReportColumnFlag::RightAlign, "Narrow", "n",
       std::string(63, 'x')},
      {"tags only brackets", 2, ReportColumnFlag::Tags, "[]", "[", "[[[]]]|[ ]"},
      {"percent signs", 2, 0, "100%", "%s%n%d", "%s%n|%%"},
  };
  for (const Case& c : cases) {
    const std::string name = std::string("hostile-") + std::to_string(&c - cases) + ".pdf";
    uint32_t result = 99;
    const std::string printed = Run(
        name,
        [&](Report& report) {
          for (int i = 0; i < c.columns; ++i)
            report.AddColumn(c.columns == 32 ? 1 : 10, c.title.c_str(), c.flags);
          report.Header(nullptr, c.title.c_str(), "%s", c.notes.c_str());
          for (int i = 0; i < 60; ++i) {
            report.AddRecord("%s", c.record.c_str());
            if (i == 10) report.PdfBanner(c.record.c_str());
          }
          report.Trailer();
          report.Header(nullptr, c.title.c_str(), "%s", c.notes.c_str());
          report.Trailer();
        },
        &result);
    EXPECT_EQ("", printed) << c.name;
    EXPECT_EQ(0u, result) << c.name;
    std::string error;
    EXPECT_TRUE(PdfStructureIsSound(Path(name), &error)) << c.name << ": " << error;
    EXPECT_GE(ReadPdfPageBoxes(Path(name)).size(), 2u) << c.name;
  }
}

TEST_F(PdfFormatTest, DroppedReportStillFinishesItsDocument) {
  home_.SetEnv("ZORMDROPREPORT009", "");
  uint32_t result = 99;
  Run(
      "dropped.pdf",
      [](Report& report) {
        report.report_number = 9;
        AddStockColumns(report);
        report.Header(nullptr, "Dropped", nullptr);
        AddStockRecords(report, 5);
        report.Trailer();
      },
      &result);
  EXPECT_EQ(0u, result);
  EXPECT_TRUE(PdfStructureIsSound(Path("dropped.pdf")));
  EXPECT_EQ(0u, ReadPdfPageBoxes(Path("dropped.pdf")).size());
}

}  // namespace
