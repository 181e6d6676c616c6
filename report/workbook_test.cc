#include "report/workbook.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "report/workbook_text.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string RawBytes(Workbook* book) {
  const char* data = nullptr;
  uint32_t size = 0;
  if (!book->SaveRaw(&data, &size)) return "";
  return std::string(data, size);
}

// Files left in the test's temporary folder.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(WorkbookTest, SheetsTextsAndNumbersReadBackFromFileAndMemory) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  WorkbookSheet* first = book->AddSheet("Report 0 1");
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(book->WriteStr(first, 0, 0, "Name"));
  EXPECT_TRUE(book->WriteStr(first, 0, 1, "Qty"));
  EXPECT_TRUE(book->WriteStr(first, 1, 0, "box"));
  EXPECT_TRUE(book->WriteNum(first, 1, 1, 1));
  EXPECT_TRUE(book->WriteStr(first, 3, 1, "12.5"));
  EXPECT_TRUE(book->WriteNum(first, 3, 0, -9007199254740991.0));
  WorkbookSheet* second = book->AddSheet("Caf\xC3\xA9");
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(book->WriteNum(second, 2, 2, 0.25));
  EXPECT_EQ(book->FirstFreeRow(first), 4u);
  EXPECT_EQ(book->FirstFreeRow(second), 3u);

  std::string path = home.path() + "/out.xlsx";
  ASSERT_TRUE(book->Save(path.c_str())) << book->ErrorMessage();
  std::string raw = RawBytes(book.get());
  EXPECT_EQ(raw, ReadWholeFile(path));

  for (const WorkbookReadBack& read : {ReadBackWorkbook(path), ReadBackWorkbookBytes(raw)}) {
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.SheetNames(), (std::vector<std::string>{"Report 0 1", "Caf\xC3\xA9"}));
    EXPECT_EQ(read.sheets[0].rows,
              (Rows{{"s:Name", "s:Qty"}, {"s:box", "n:1"}, {}, {"n:-9007199254740991", "s:12.5"}}));
    EXPECT_EQ(read.sheets[1].rows, (Rows{{}, {}, {"", "", "n:0.25"}}));
  }
}

TEST(WorkbookTest, RefusedSheetNamesSayWhy) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  ASSERT_NE(book->AddSheet("Report 3 42"), nullptr);
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"Report 3 42", "Worksheet name is already in use."},
      {"REPORT 3 42", "Worksheet name is already in use."},
      {"abcdefghijklmnopqrstuvwxyz123456", "Worksheet name exceeds Excel's limit of 31 characters."},
      {"a[b]", "Worksheet name cannot contain invalid characters: '[ ] : * ? / \\'"},
      {"'quoted'", "Worksheet name cannot start or end with an apostrophe."},
      {"", "Worksheet name is empty."},
      {nullptr, "Worksheet name is empty."},
      {"bad\xFF", "Worksheet name is not valid text."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(book->AddSheet(c.name), nullptr) << (c.name ? c.name : "(null)");
    EXPECT_STREQ(book->ErrorMessage(), c.message);
  }
  EXPECT_TRUE(book->HasSheet("report 3 42"));
  EXPECT_FALSE(book->HasSheet("Report 3 43"));
  // The refusals left the book whole.
  WorkbookReadBack read = ReadBackWorkbookBytes(RawBytes(book.get()));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.SheetNames(), std::vector<std::string>{"Report 3 42"});
}

TEST(WorkbookTest, AnyBytesMakeAReadableWorkbook) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  WorkbookSheet* sheet = book->AddSheet("Values");
  ASSERT_NE(sheet, nullptr);
  struct Case {
    std::string value;
    std::string read_back;  // as a spreadsheet program shows it
  };
  std::string all_bytes;
  for (int b = 1; b < 256; ++b) all_bytes += static_cast<char>(b);
  std::string shown_bytes;
  for (int b = 1; b < 128; ++b) shown_bytes += static_cast<char>(b);
  for (int b = 128; b < 256; ++b) shown_bytes += "\xEF\xBF\xBD";
  const Case cases[] = {
      {"a\x01z", "s:a\x01z"},
      {"cr\rlf\ntab\t", "s:cr\rlf\ntab\t"},
      {"bad\xFF\xFE utf\xC3", "s:bad\xEF\xBF\xBD\xEF\xBF\xBD utf\xEF\xBF\xBD"},
      {"\xEF\xBF\xBE", "s:\xEF\xBF\xBD"},
      {"_x0041_ literally", "s:_x0041_ literally"},
      {"<tag attr=\"&amp;\">'", "s:<tag attr=\"&amp;\">'"},
      {all_bytes, "s:" + shown_bytes},
      {std::string(40000, 'L'), "s:" + std::string(kWorkbookMaxCellCharacters, 'L')},
  };
  uint32_t row = 0;
  for (const Case& c : cases) EXPECT_TRUE(book->WriteStr(sheet, row++, 0, c.value));

  WorkbookReadBack read = ReadBackWorkbookBytes(RawBytes(book.get()));
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.sheets.size(), 1u);
  ASSERT_EQ(read.sheets[0].rows.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(read.sheets[0].rows[i], std::vector<std::string>{cases[i].read_back}) << i;
}

TEST(WorkbookTest, CellsThatCannotBeWrittenAreRefusedWithAReason) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  WorkbookSheet* sheet = book->AddSheet("Order");
  WorkbookSheet* limits = book->AddSheet("Limits");
  ASSERT_NE(sheet, nullptr);
  ASSERT_NE(limits, nullptr);
  ASSERT_TRUE(book->WriteStr(sheet, 5, 1, "five"));
  struct Case {
    WorkbookSheet* sheet;
    uint32_t row;
    uint32_t column;
    double number;
    const char* message;  // "" when written
  };
  const Case cases[] = {
      {sheet, 5, 0, 1, ""},  // the latest row still takes cells
      {sheet, 4, 0, 1, "Row 4 comes before rows already written."},
      {sheet, 0, 0, 1, "Row 0 comes before rows already written."},
      {sheet, 6, 2, NAN, "A cell cannot hold a number that is not finite."},
      {sheet, 6, 2, -INFINITY, "A cell cannot hold a number that is not finite."},
      {limits, 1048575, 16383, 2, ""},
      {limits, 1048576, 0, 1, "Worksheet row or column index out of range."},
      {limits, 1048575, 16384, 1, "Worksheet row or column index out of range."},
      {nullptr, 0, 0, 1, "There is no worksheet to write to."},
  };
  for (const Case& c : cases) {
    bool written = c.message[0] == '\0';
    EXPECT_EQ(book->WriteNum(c.sheet, c.row, c.column, c.number), written) << c.row;
    if (!written) {
      EXPECT_STREQ(book->ErrorMessage(), c.message);
    }
  }
  EXPECT_FALSE(book->WriteStr(sheet, 2, 0, "late text"));
  EXPECT_STREQ(book->ErrorMessage(), "Row 2 comes before rows already written.");
  EXPECT_EQ(book->FirstFreeRow(sheet), 6u);
  EXPECT_EQ(book->FirstFreeRow(limits), 1048576u);

  std::string path = home.path() + "/limits.xlsx";
  ASSERT_TRUE(book->Save(path.c_str())) << book->ErrorMessage();
  // A saved book takes nothing more, but may be saved again.
  EXPECT_FALSE(book->WriteNum(sheet, 7, 1, 3));
  EXPECT_STREQ(book->ErrorMessage(), "The workbook has been saved and takes no more cells.");
  EXPECT_EQ(book->AddSheet("T"), nullptr);
  EXPECT_STREQ(book->ErrorMessage(), "The workbook has been saved and takes no more sheets.");
  EXPECT_EQ(RawBytes(book.get()), ReadWholeFile(path));
}

TEST(WorkbookTest, UnwritablePathIsReportedAndTheBookStaysUsable) {
  ScopedTestHome home;
  std::string regular_file = home.path() + "/plain";
  ASSERT_TRUE(WriteWholeFile(regular_file, "x"));
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {regular_file + "/out.xlsx", "Cannot write " + regular_file + "/out.xlsx: Not a directory"},
      {home.path() + "/missing/out.xlsx",
       "Cannot write " + home.path() + "/missing/out.xlsx: No such file or directory"},
      {home.path(), "Cannot write " + home.path() + ": Is a directory"},
      {"", "No file name to save the workbook to."},
  };
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  WorkbookSheet* sheet = book->AddSheet("S");
  ASSERT_TRUE(book->WriteStr(sheet, 0, 0, "kept"));
  for (const Case& c : cases) {
    EXPECT_FALSE(book->Save(c.path.c_str()));
    EXPECT_EQ(book->ErrorMessage(), c.message);
  }
  std::string good = home.path() + "/good.xlsx";
  ASSERT_TRUE(book->Save(good.c_str())) << book->ErrorMessage();
  WorkbookReadBack read = ReadBackWorkbook(good);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.sheets[0].rows, (Rows{{"s:kept"}}));
}

size_t OpenFileCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

TEST(WorkbookTest, ReleaseLeavesNoTemporaryFilesOrOpenFiles) {
  ScopedTestHome home;
  size_t open_files = OpenFileCount();
  for (bool save_raw : {false, true}) {
    std::unique_ptr<Workbook> book = Workbook::Create();
    ASSERT_NE(book, nullptr);
    WorkbookSheet* sheet = book->AddSheet("S");
    for (uint32_t row = 0; row < 2000; ++row) ASSERT_TRUE(book->WriteNum(sheet, row, 0, row));
    EXPECT_FALSE(FilesIn(home.temp_dir()).empty());
    if (save_raw) {
      EXPECT_FALSE(RawBytes(book.get()).empty());
    }
    book.reset();
    EXPECT_EQ(FilesIn(home.temp_dir()), std::vector<std::string>{}) << save_raw;
    EXPECT_EQ(OpenFileCount(), open_files) << save_raw;
  }
}

TEST(WorkbookTest, RunningOutOfFilesForSheetsIsToldAndEarlierSheetsStay) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(book, nullptr);
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = OpenFileCount() + 3;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  int added = 0;
  std::string message;
  for (int i = 0; i < 10; ++i) {
    WorkbookSheet* sheet = book->AddSheet(("S" + std::to_string(i)).c_str());
    if (sheet == nullptr) {
      message = book->ErrorMessage();
      break;
    }
    book->WriteNum(sheet, 0, 0, i);
    ++added;
  }
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(message, "Cannot add the worksheet: Too many open files");
  ASSERT_GT(added, 0);
  WorkbookReadBack read = ReadBackWorkbookBytes(RawBytes(book.get()));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.sheets.size(), static_cast<size_t>(added));
}

TEST(WorkbookTest, NoTemporaryFolderMeansNoBook) {
  ScopedTestHome home;
  home.SetEnv("TMPDIR", (home.path() + "/missing").c_str());
  std::string error;
  EXPECT_EQ(Workbook::Create(&error), nullptr);
  EXPECT_EQ(error, "Cannot create a temporary file in " + home.path() +
                       "/missing: No such file or directory");
}

}  // namespace
