#include "report/workbook.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <functional>
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
  return book->SaveRaw(&data, &size) ? std::string(data, size) : "";
}

size_t OpenFileCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

TEST(WorkbookTest, SheetsTextsAndNumbersReadBackFromFileAndMemory) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(nullptr, book);
  WorkbookSheet* first = book->AddSheet("Report 0 1");
  WorkbookSheet* second = book->AddSheet("Caf\xC3\xA9");
  ASSERT_NE(nullptr, second);
  EXPECT_TRUE(book->WriteStr(first, 0, 0, "Name"));
  EXPECT_TRUE(book->WriteNum(first, 1, 1, 1));
  EXPECT_TRUE(book->WriteStr(first, 3, 1, "bad\xFF utf\xC3 \x01 _x0041_"));
  EXPECT_TRUE(book->WriteNum(first, 3, 0, -9007199254740991.0));
  EXPECT_TRUE(book->WriteNum(second, 2, 2, 0.25));
  EXPECT_TRUE(book->WriteStr(second, 3, 0, std::string(40000, 'L')));
  EXPECT_EQ(4u, book->FirstFreeRow(first));
  EXPECT_EQ(4u, book->FirstFreeRow(second));
  const std::string path = home.path() + "/out.xlsx";
  ASSERT_TRUE(book->Save(path.c_str())) << book->ErrorMessage();
  const std::string raw = RawBytes(book.get());
  EXPECT_EQ(raw, ReadWholeFile(path));
  for (const WorkbookReadBack& read : {ReadBackWorkbook(path), ReadBackWorkbookBytes(raw)}) {
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ((std::vector<std::string>{"Report 0 1", "Caf\xC3\xA9"}), read.SheetNames());
    EXPECT_EQ((Rows{{"s:Name"}, {"", "n:1"}, {},
                    {"n:-9007199254740991", "s:bad\xEF\xBF\xBD utf\xEF\xBF\xBD \x01 _x0041_"}}),
              read.sheets[0].rows);
    EXPECT_EQ((Rows{{}, {}, {"", "", "n:0.25"}, {"s:" + std::string(kWorkbookMaxCellCharacters, 'L')}}),
              read.sheets[1].rows);
  }
  // A saved book takes nothing more.
  EXPECT_FALSE(book->WriteNum(first, 7, 1, 3));
  EXPECT_STREQ("The workbook has been saved and takes no more cells.", book->ErrorMessage());
  EXPECT_EQ(nullptr, book->AddSheet("T"));
  EXPECT_STREQ("The workbook has been saved and takes no more sheets.", book->ErrorMessage());
}

TEST(WorkbookTest, RefusalsSayWhyAndLeaveTheBookWhole) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(nullptr, book);
  WorkbookSheet* sheet = book->AddSheet("Report 3 42");
  WorkbookSheet* limits = book->AddSheet("Limits");
  ASSERT_TRUE(book->WriteStr(sheet, 5, 1, "five"));
  struct Case {
    const char* what;
    std::function<bool()> call;
    const char* message;  // "" when done
  } cases[] = {
      {"same name", [&] { return book->AddSheet("REPORT 3 42"); }, "Worksheet name is already in use."},
      {"long name", [&] { return book->AddSheet("abcdefghijklmnopqrstuvwxyz123456"); },
       "Worksheet name exceeds Excel's limit of 31 characters."},
      {"brackets", [&] { return book->AddSheet("a[b]"); },
       "Worksheet name cannot contain invalid characters: '[ ] : * ? / \\'"},
      {"apostrophe", [&] { return book->AddSheet("'quoted'"); },
       "Worksheet name cannot start or end with an apostrophe."},
      {"no name", [&] { return book->AddSheet(nullptr); }, "Worksheet name is empty."},
      {"bad text", [&] { return book->AddSheet("bad\xFF"); }, "Worksheet name is not valid text."},
      {"latest row", [&] { return book->WriteNum(sheet, 5, 0, 1); }, ""},
      {"earlier row", [&] { return book->WriteStr(sheet, 4, 0, "x"); },
       "Row 4 comes before rows already written."},
      {"not finite", [&] { return book->WriteNum(sheet, 6, 2, NAN); },
       "A cell cannot hold a number that is not finite."},
      {"last cell", [&] { return book->WriteNum(limits, 1048575, 16383, 2); }, ""},
      {"row beyond", [&] { return book->WriteNum(limits, 1048576, 0, 1); },
       "Worksheet row or column index out of range."},
      {"column beyond", [&] { return book->WriteNum(limits, 1048575, 16384, 1); },
       "Worksheet row or column index out of range."},
      {"no sheet", [&] { return book->WriteNum(nullptr, 0, 0, 1); }, "There is no worksheet to write to."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.message[0] == '\0', c.call()) << c.what;
    if (c.message[0] != '\0') {
      EXPECT_STREQ(c.message, book->ErrorMessage()) << c.what;
    }
  }
  EXPECT_TRUE(book->HasSheet("report 3 42"));
  EXPECT_FALSE(book->HasSheet("Report 3 43"));
  EXPECT_NE("", RawBytes(book.get()));
}

TEST(WorkbookTest, UnwritablePathIsToldAndTheBookStaysUsable) {
  ScopedTestHome home;
  const std::string plain = home.path() + "/plain", missing = home.path() + "/missing/out.xlsx";
  ASSERT_TRUE(WriteWholeFile(plain, "x"));
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_TRUE(book->WriteStr(book->AddSheet("S"), 0, 0, "kept"));
  for (auto [path, message] : {std::pair{plain + "/out.xlsx", "Not a directory"},
                               {missing, "No such file or directory"}, {home.path(), "Is a directory"}}) {
    EXPECT_FALSE(book->Save(path.c_str()));
    EXPECT_EQ("Cannot write " + path + ": " + message, book->ErrorMessage());
  }
  EXPECT_FALSE(book->Save(""));
  EXPECT_STREQ("No file name to save the workbook to.", book->ErrorMessage());
  ASSERT_TRUE(book->Save((home.path() + "/good.xlsx").c_str())) << book->ErrorMessage();
  EXPECT_EQ((Rows{{"s:kept"}}), ReadBackWorkbook(home.path() + "/good.xlsx").sheets.at(0).rows);
}

TEST(WorkbookTest, ReleaseLeavesNoTemporaryFilesOrOpenFiles) {
  ScopedTestHome home;
  const size_t open_files = OpenFileCount();
  for (bool save_raw : {false, true}) {
    std::unique_ptr<Workbook> book = Workbook::Create();
    WorkbookSheet* sheet = book->AddSheet("S");
    for (uint32_t row = 0; row < 2000; ++row) ASSERT_TRUE(book->WriteNum(sheet, row, 0, row));
    EXPECT_FALSE(std::filesystem::is_empty(home.temp_dir()));
    if (save_raw) {
      EXPECT_NE("", RawBytes(book.get()));
    }
    book.reset();
    EXPECT_TRUE(std::filesystem::is_empty(home.temp_dir())) << save_raw;
    EXPECT_EQ(open_files, OpenFileCount()) << save_raw;
  }
}

TEST(WorkbookTest, RunningOutOfFilesIsToldAndEarlierSheetsStay) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(nullptr, book);
  rlimit saved;
  ASSERT_EQ(0, getrlimit(RLIMIT_NOFILE, &saved));
  rlimit low = saved;
  low.rlim_cur = OpenFileCount() + 3;
  ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &low));
  size_t added = 0;
  while (WorkbookSheet* sheet = added < 10 ? book->AddSheet(("S" + std::to_string(added)).c_str()) : nullptr) {
    book->WriteNum(sheet, 0, 0, 1);
    ++added;
  }
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_STREQ("Cannot add the worksheet: Too many open files", book->ErrorMessage());
  ASSERT_GT(added, 0u);
  EXPECT_EQ(added, ReadBackWorkbookBytes(RawBytes(book.get())).sheets.size());
  // Without a temporary folder there is no book at all.
  home.SetEnv("TMPDIR", (home.path() + "/missing").c_str());
  std::string error;
  EXPECT_EQ(nullptr, Workbook::Create(&error));
  EXPECT_EQ("Cannot create a temporary file in " + home.path() + "/missing: No such file or directory", error);
}

}  // namespace
