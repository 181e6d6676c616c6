// The Excel format: every workbook is read back with openpyxl.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "report/report.h"
#include "tests/support/report_fixture.h"
#include "tests/support/workbook_reader.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
const std::vector<std::string> kHeading = {"s:Name", "s:Size", "s:Qty"};

void Section(Report* report, const std::vector<const char*>& records) {
  report->Header(nullptr, "Items", nullptr);
  for (const char* record : records) report->AddRecord("%s", record);
  report->Trailer();
}

// Writes a report with the columns Name, Size (right-aligned) and Qty (numeric)
// through `drive` and reads the workbook back.
WorkbookReadBack Write(ReportTestEnv& env, const std::function<void(Report*)>& drive,
                       const char* path = "report.xlsx") {
  env.SetEnv("ZORMREPORTFORMAT", "excel");
  env.SetEnv("ZORMEXCELOUTPUTPATH", path != nullptr ? env.Path(path).c_str() : nullptr);
  {
    Report report;
    InitReport(&report);
    report.AddColumn(10, "Name", 0);
    report.AddColumn(4, "Size", ReportColumnFlag::RightAlign);
    report.AddColumn(8, "Qty", ReportColumnFlag::Numeric | ReportColumnFlag::RightAlign);
    drive(&report);
    report.Close();
  }
  return ReadBackWorkbook(env.Path(path != nullptr ? path : "Sheet-2021-03-04-15-30-00.xlsx"));
}

TEST(ExcelFormatTest, SectionsBecomeSheetsWithRecordsAtTheCounterRow) {
  struct Case {
    const char* name;
    const char* column_delete;  // ZORMREPORTCOLUMNDELETE, or null
    std::function<void(Report*)> drive;
    std::vector<Rows> sheets;
  } cases[] = {
      {"hidden column takes no sheet column; numeric reading stops at the comma", "2",
       [](Report* r) { Section(r, {"box|12|1,500"}); }, {{{"s:Name", "s:Qty"}, {"s:box", "n:1"}}}},
      {"numbers and texts", nullptr,
       [](Report* r) { Section(r, {"12.5|12.5|12.5", "  padded\t |x|  -42 apples", "y| |none"}); },
       {{kHeading, {"s:12.5", "s:12.5", "n:12"}, {"s:padded", "s:x", "n:-42"}, {"s:y", "",
           "n:0"}}}},
      {"a second section without Separator continues the rows", nullptr,
       [](Report* r) { Section(r, {"a|1|1", "b|2|2"}); Section(r, {"d|4|4"}); },
       {{kHeading, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"}},
        {kHeading, {}, {}, {"s:d", "s:4", "n:4"}}}},
      {"Separator before the next section starts it at row 1", nullptr,
       [](Report* r) { Section(r, {"a|1|1", "b|2|2"}); r->Separator(); Section(r, {"d|4|4"}); },
       {{kHeading, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"}}, {kHeading, {"s:d", "s:4",
           "n:4"}}}},
      {"records after Separator in the same section follow the last row", nullptr,
       [](Report* r) {
         r->Header(nullptr, "Items", nullptr);
         r->AddRecord("a|1|1");
         r->Separator();
         r->AddRecord("c|3|3");
       },
       {{kHeading, {"s:a", "s:1", "n:1"}, {"s:c", "s:3", "n:3"}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportTestEnv env;
    env.SetEnv("ZORMREPORTCOLUMNDELETE", c.column_delete);
    WorkbookReadBack read = Write(env, c.drive);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(c.sheets.size(), read.sheets.size());
    for (size_t i = 0; i < c.sheets.size(); ++i) {
      EXPECT_TRUE(std::regex_match(read.sheets[i].name, std::regex("Report 0 [0-9]+")));
      EXPECT_EQ(c.sheets[i], read.sheets[i].rows) << "sheet " << i;
    }
  }
}

TEST(ExcelFormatTest, WorkbookGoesToTheNamedOrDefaultFileOrIntoTheCgiResponse) {
  ReportTestEnv env;
  // A failed save is told on standard error; no temporary file is left.
  CapturedStream errors(2);
  Write(env, [](Report* r) { Section(r, {"a|1|1"}); }, "missing/out.xlsx");
  EXPECT_EQ("xlBookSave: cannot write " + env.Path("missing/out.xlsx") +
                ": No such file or directory\n", errors.Text());
  EXPECT_TRUE(std::filesystem::is_empty(env.temp_dir()));
  // Without a name the time stamp names the file, or in CGI mode the attachment.
  const std::string stamp = "Sheet-2021-03-04-15-30-00.xlsx";
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(env.path());
  WorkbookReadBack read = Write(env, [](Report* r) { Section(r, {"a|1|1"}); }, nullptr);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(1u, read.sheets.size());
  std::filesystem::remove(env.Path(stamp));
  env.SetEnv("REQUEST_URI", "/cgi/zormreport?RPT=Excel");
  env.SetEnv("QUERY_STRING", "RPT=Excel");
  CapturedStream output(1);
  Write(env, [](Report* r) { Section(r, {"box|12|1,500"}); }, nullptr);
  const std::string response = output.Text();
  std::filesystem::current_path(previous);
  EXPECT_FALSE(std::filesystem::exists(env.Path(stamp)));
  const std::string head =
      "Content-type: application/vnd.openxmlformats-officedocument.spreadsheetml.sheet\r\n"
      "Content-disposition: attachment; filename=\"" + stamp + "\"\r\nContent-Length: ";
  ASSERT_EQ(head, response.substr(0, head.size()));
  const size_t end_of_length = response.find("\n\r\n", head.size());
  ASSERT_NE(std::string::npos, end_of_length);
  const std::string body = response.substr(end_of_length + 3);
  EXPECT_EQ(std::to_string(body.size()), response.substr(head.size(), end_of_length - head.size()));
  read = ReadBackWorkbookBytes(body);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ((Rows{kHeading, {"s:box", "s:12", "n:1"}}), read.sheets.at(0).rows);
}

TEST(ExcelFormatTest, ChildReportAddsItsSheetsToTheParentsWorkbook) {
  ReportTestEnv env;
  WorkbookReadBack read = Write(env, [&](Report* parent) {
    Report child;
    InitReport(&child);
    child.parent = parent;
    child.report_number = 2;
    child.AddColumn(6, "Code", 0);
    child.AddColumn(6, "Count", ReportColumnFlag::Numeric);
    Section(parent, {"a|1|1", "b|2|2"});
    child.Header(nullptr, "Codes", nullptr);
    child.AddRecord("X1|5");
    child.ResetCounters();       // the parent's counter too
    parent->AddRecord("c|3|3");  // goes to the current sheet, the child's
    child.Close();
    EXPECT_FALSE(std::filesystem::exists(env.Path("report.xlsx")));  // only the owner saves
  });
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(2u, read.sheets.size());
  EXPECT_TRUE(std::regex_match(read.sheets[1].name, std::regex("Report 2 [0-9]+")));
  EXPECT_EQ((Rows{kHeading, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"}}), read.sheets[0].rows);
  EXPECT_EQ((Rows{{"s:Code", "s:Count"}, {"s:X1", "n:5"}, {"s:c", "s:3", "n:3"}}),
            read.sheets[1].rows);
}

}  // namespace
