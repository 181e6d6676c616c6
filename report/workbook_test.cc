#include "report/workbook.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

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

TEST(WorkbookTest, CellsReadBackFromFileAndMemoryAndRefusalsSayWhy) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(nullptr, book);
  WorkbookSheet* first = book->AddSheet("Report 3 42");
  WorkbookSheet* second = book->AddSheet("Caf\xC3\xA9");
  ASSERT_TRUE(book->WriteStr(first, 0, 0, "Name"));
  ASSERT_TRUE(book->WriteStr(first, 3, 1, "bad\xFF \x01 _x0041_"));
  ASSERT_TRUE(book->WriteNum(first, 3, 0, -9007199254740991.0));
  ASSERT_TRUE(book->WriteNum(second, 2, 2, 0.25));
  ASSERT_TRUE(book->WriteStr(second, 3, 0, std::string(40000, 'L')));
  struct Case {
    std::function<bool()> call;
    const char* message;  // "" when done
  } cases[] = {
      {[&] { return book->AddSheet("REPORT 3 42"); }, "Worksheet name is already in use."},
      {[&] { return book->AddSheet("abcdefghijklmnopqrstuvwxyz123456"); },
       "Worksheet name exceeds Excel's limit of 31 characters."},
      {[&] { return book->WriteNum(first, 3, 2, 1); }, ""},  // the latest row still takes cells
      {[&] { return book->WriteStr(first, 2, 0, "x"); },
          "Row 2 comes before rows already written."},
      {[&] { return book->WriteNum(second, 1048576, 0, 1); },
       "Worksheet row or column index out of range."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.message[0] == '\0', c.call()) << c.message;
    EXPECT_STREQ(c.message[0] ? c.message : book->ErrorMessage(), book->ErrorMessage());
  }
  const std::string path = home.path() + "/out.xlsx";
  ASSERT_TRUE(book->Save(path.c_str())) << book->ErrorMessage();
  EXPECT_EQ(RawBytes(book.get()), ReadWholeFile(path));
  const WorkbookReadBack read = ReadBackWorkbook(path);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(2u, read.sheets.size());
  EXPECT_EQ("Report 3 42", read.sheets[0].name);
  EXPECT_EQ("Caf\xC3\xA9", read.sheets[1].name);
  EXPECT_EQ((Rows{{"s:Name"}, {}, {}, {"n:-9007199254740991", "s:bad\xEF\xBF\xBD \x01 _x0041_",
                   "n:1"}}),
            read.sheets[0].rows);
  EXPECT_EQ("s:" + std::string(kWorkbookMaxCellCharacters, 'L'), read.sheets[1].rows.at(3).at(0));
  EXPECT_EQ("n:0.25", read.sheets[1].rows.at(2).at(2));
}

TEST(WorkbookTest, RunningOutOfFilesIsToldAndEarlierSheetsStay) {
  ScopedTestHome home;
  std::unique_ptr<Workbook> book = Workbook::Create();
  ASSERT_NE(nullptr, book);
  rlimit saved, low;
  ASSERT_EQ(0, getrlimit(RLIMIT_NOFILE, &saved));
  low = saved;
  low.rlim_cur = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}) + 3;
  ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &low));
  size_t added = 0;
  while (WorkbookSheet* sheet = book->AddSheet(("S" + std::to_string(added)).c_str())) {
    ASSERT_TRUE(book->WriteNum(sheet, 0, 0, 1));
    ASSERT_LT(++added, 10u);
  }
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_STREQ("Cannot add the worksheet: Too many open files", book->ErrorMessage());
  ASSERT_GT(added, 0u);
  EXPECT_EQ(added, ReadBackWorkbookBytes(RawBytes(book.get())).sheets.size());
}

}  // namespace
