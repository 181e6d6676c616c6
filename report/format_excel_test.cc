#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "report/report.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"
#include "util/clock.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Thursday, 4 March 2021, 15:30:00 UTC.
constexpr time_t kTestTime = 1614871800;

// An environment for an Excel report: the clock pinned, the time zone UTC, the
// workbook going to a file in the test's own folder.
class ExcelEnv {
 public:
  ExcelEnv() : clock_(kTestTime) {
    for (const char* name : {"REQUEST_URI", "REQUEST_METHOD", "QUERY_STRING", "CONTENT_LENGTH",
                             "ZORMREPORTCOLUMNDELETE", "ZORMREPORTTITLE007", "ZORMDROPREPORT007",
                             "ZORMREPORTCOLUMNDELETE007"})
      home_.SetEnv(name, nullptr);
    home_.SetEnv("TZ", "UTC");
    tzset();
    home_.SetEnv("ZORMREPORTFORMAT", "excel");
    home_.SetEnv("ZORMEXCELOUTPUTPATH", path().c_str());
  }
  ~ExcelEnv() { tzset(); }
  void Set(const char* name, const char* value) { home_.SetEnv(name, value); }
  std::string path() const { return home_.path() + "/report.xlsx"; }
  const ScopedTestHome& home() const { return home_; }

 private:
  ScopedTestHome home_;
  ScopedFixedTime clock_;
};

// Sends a standard stream (1 or 2) into a file while it lives.
class CapturedStream {
 public:
  explicit CapturedStream(int fd) : fd_(fd), file_(tmpfile()) {
    fflush(fd == 1 ? stdout : stderr);
    saved_ = dup(fd);
    dup2(fileno(file_), fd);
  }
  ~CapturedStream() {
    Restore();
    fclose(file_);
  }
  std::string Text() {
    Restore();
    std::string text;
    rewind(file_);
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, got);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    fflush(fd_ == 1 ? stdout : stderr);
    dup2(saved_, fd_);
    close(saved_);
    saved_ = -1;
  }
  int fd_;
  FILE* file_;
  int saved_ = -1;
};

void AddItemColumns(Report* report) {
  report->AddColumn(10, "Name", 0);
  report->AddColumn(4, "Size", ReportColumnFlag::RightAlign);
  report->AddColumn(8, "Qty", ReportColumnFlag::Numeric | ReportColumnFlag::RightAlign);
}

void Section(Report* report, const std::vector<const char*>& records) {
  report->Header(nullptr, "Items", nullptr);
  for (const char* record : records) report->AddRecord("%s", record);
  report->Trailer();
}

TEST(ExcelFormatTest, SectionsBecomeSheetsWithRecordsAtTheCounterRow) {
  struct Case {
    const char* name;
    const char* column_delete;  // ZORMREPORTCOLUMNDELETE, or null
    std::function<void(Report*)> drive;
    std::vector<Rows> sheets;
  };
  const Rows kItemHeading = {{"s:Name", "s:Size", "s:Qty"}};
  const Case cases[] = {
      {"hidden column takes no sheet column; numeric reading stops at the comma", "2",
       [](Report* r) { Section(r, {"box|12|1,500"}); },
       {{{"s:Name", "s:Qty"}, {"s:box", "n:1"}}}},
      {"numbers and texts", nullptr,
       [](Report* r) {
         Section(r, {"12.5|12.5|12.5", "  padded\t |x|  -42 apples", "y| |none",
                     "big| |99999999999999999999"});
       },
       {{{"s:Name", "s:Size", "s:Qty"},
         {"s:12.5", "s:12.5", "n:12"},
         {"s:padded", "s:x", "n:-42"},
         {"s:y", "", "n:0"},
         {"s:big", "", "n:9.223372036854776e+18"}}}},
      {"second section without Separator continues the rows", nullptr,
       [](Report* r) {
         Section(r, {"a|1|1", "b|2|2", "c|3|3"});
         Section(r, {"d|4|4", "e|5|5"});
       },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"},
         {"s:c", "s:3", "n:3"}},
        {{"s:Name", "s:Size", "s:Qty"}, {}, {}, {}, {"s:d", "s:4", "n:4"},
         {"s:e", "s:5", "n:5"}}}},
      {"Separator before the next section starts it at row 1", nullptr,
       [](Report* r) {
         Section(r, {"a|1|1", "b|2|2", "c|3|3"});
         r->Separator();
         Section(r, {"d|4|4"});
       },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"},
         {"s:c", "s:3", "n:3"}},
        {{"s:Name", "s:Size", "s:Qty"}, {"s:d", "s:4", "n:4"}}}},
      {"ResetCounters does the same", nullptr,
       [](Report* r) {
         Section(r, {"a|1|1", "b|2|2"});
         r->ResetCounters();
         Section(r, {"d|4|4"});
       },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"}},
        {{"s:Name", "s:Size", "s:Qty"}, {"s:d", "s:4", "n:4"}}}},
      {"records after Separator in the same section are kept after the last row", nullptr,
       [](Report* r) {
         r->Header(nullptr, "Items", nullptr);
         r->AddRecord("a|1|1");
         r->AddRecord("b|2|2");
         r->Separator();
         r->AddRecord("c|3|3");
       },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"},
         {"s:c", "s:3", "n:3"}}}},
      {"missing and surplus values", nullptr,
       [](Report* r) { Section(r, {"only", "a|b|3|surplus|more"}); },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:only"}, {"s:a", "s:b", "n:3"}}}},
      {"text that is not UTF-8 is repaired", nullptr,
       [](Report* r) { Section(r, {"caf\xE9|\x01x\x02y|7"}); },
       {{{"s:Name", "s:Size", "s:Qty"}, {"s:caf\xEF\xBF\xBD", "s:x\x02y", "n:7"}}}},
      {"a header without records", nullptr, [](Report* r) { Section(r, {}); },
       {kItemHeading}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExcelEnv env;
    env.Set("ZORMREPORTCOLUMNDELETE", c.column_delete);
    Report report;
    InitReport(&report);
    AddItemColumns(&report);
    c.drive(&report);
    report.Close();

    WorkbookReadBack read = ReadBackWorkbook(env.path());
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.sheets.size(), c.sheets.size());
    for (size_t i = 0; i < c.sheets.size(); ++i) {
      EXPECT_TRUE(std::regex_match(read.sheets[i].name, std::regex("Report 0 [0-9]+")))
          << read.sheets[i].name;
      EXPECT_EQ(read.sheets[i].rows, c.sheets[i]) << "sheet " << i;
    }
    std::vector<std::string> names = read.SheetNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
  }
}

TEST(ExcelFormatTest, ThirtyTwoColumnsWithValuesOfAnyBytes) {
  ExcelEnv env;
  env.Set("ZORMREPORTCOLUMNDELETE", "31,5");
  Report report;
  InitReport(&report);
  std::vector<std::string> names;
  for (int i = 0; i < 32; ++i) {
    names.push_back("C" + std::to_string(i + 1));
    report.AddColumn(5, names.back().c_str(), i % 4 == 3 ? ReportColumnFlag::Numeric : 0);
  }
  report.Header(nullptr, "Wide", nullptr);
  std::string record;
  for (int i = 0; i < 32; ++i) record += std::string(1, static_cast<char>(0x80 + i)) + "v" +
                                         std::to_string(i) + "|";
  report.AddRecord("%s", record.c_str());
  std::string long_value(1000, 'z');
  report.AddRecord("%s|%s", long_value.c_str(), long_value.c_str());
  report.Close();

  WorkbookReadBack read = ReadBackWorkbook(env.path());
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.sheets.size(), 1u);
  const Rows& rows = read.sheets[0].rows;
  ASSERT_EQ(rows.size(), 3u);
  std::vector<std::string> heading, values;
  for (int i = 0; i < 32; ++i) {
    if (i == 4 || i == 30) continue;  // deleted columns 5 and 31
    heading.push_back("s:" + names[i]);
    // A lone byte from 0x80 up is not UTF-8, so it shows as U+FFFD; a numeric
    // value that does not begin with digits reads as 0.
    values.push_back(i % 4 == 3 ? "n:0" : "s:\xEF\xBF\xBDv" + std::to_string(i));
  }
  EXPECT_EQ(rows[0], heading);
  EXPECT_EQ(rows[1], values);
  EXPECT_EQ(rows[2], (std::vector<std::string>{"s:" + long_value, "s:" + long_value.substr(0, 1023 - 1001)}));
}

TEST(ExcelFormatTest, OutputPathAndReportNumber) {
  ExcelEnv env;
  env.Set("ZORMEXCELOUTPUTPATH", nullptr);
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(env.home().path());
  Report report;
  InitReport(&report);
  report.report_number = 7;
  AddItemColumns(&report);
  Section(&report, {"a|1|1"});
  Section(&report, {"b|2|2"});
  report.Close();
  std::filesystem::current_path(previous);

  WorkbookReadBack read = ReadBackWorkbook(env.home().path() + "/Sheet-2021-03-04-15-30-00.xlsx");
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.sheets.size(), 2u);
  for (const WorkbookReadBack::Sheet& sheet : read.sheets)
    EXPECT_TRUE(std::regex_match(sheet.name, std::regex("Report 7 [0-9]+"))) << sheet.name;
  EXPECT_NE(read.sheets[0].name, read.sheets[1].name);
}

TEST(ExcelFormatTest, ChildReportAddsItsSheetsToTheParentsWorkbook) {
  ExcelEnv env;
  Report parent, child;
  InitReport(&parent);
  InitReport(&child);
  child.parent = &parent;
  child.report_number = 2;
  AddItemColumns(&parent);
  child.AddColumn(6, "Code", 0);
  child.AddColumn(6, "Count", ReportColumnFlag::Numeric);
  Section(&parent, {"a|1|1", "b|2|2"});
  child.Header(nullptr, "Codes", nullptr);
  child.AddRecord("X1|5");
  child.ResetCounters();  // the parent's counter too
  parent.AddRecord("c|3|3");  // goes to the current sheet, the child's
  child.Close();
  EXPECT_TRUE(std::filesystem::exists(env.path()) == false);  // only the owner saves
  parent.Close();

  WorkbookReadBack read = ReadBackWorkbook(env.path());
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.sheets.size(), 2u);
  EXPECT_TRUE(std::regex_match(read.sheets[1].name, std::regex("Report 2 [0-9]+")));
  EXPECT_EQ(read.sheets[0].rows,
            (Rows{{"s:Name", "s:Size", "s:Qty"}, {"s:a", "s:1", "n:1"}, {"s:b", "s:2", "n:2"}}));
  EXPECT_EQ(read.sheets[1].rows,
            (Rows{{"s:Code", "s:Count"}, {"s:X1", "n:5"}, {"s:c", "s:3", "n:3"}}));
}

TEST(ExcelFormatTest, SavingProblemsAreToldAndNothingElseBreaks) {
  struct Case {
    const char* name;
    std::string path_under_home;  // ZORMEXCELOUTPUTPATH relative to the home
    bool no_output_stream;
    std::string message;          // expected on standard error ("" none)
    bool file_written;
  };
  const Case cases[] = {
      {"a path under a regular file", "/plain/out.xlsx", false,
       "xlBookSave: Cannot write HOME/plain/out.xlsx: Not a directory\n", false},
      {"a missing folder", "/missing/out.xlsx", false,
       "xlBookSave: Cannot write HOME/missing/out.xlsx: No such file or directory\n", false},
      {"no output stream: the report is only released", "/out.xlsx", true, "", false},
      {"a good path", "/out.xlsx", false, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExcelEnv env;
    ASSERT_TRUE(WriteWholeFile(env.home().path() + "/plain", "x"));
    std::string path = env.home().path() + c.path_under_home;
    env.Set("ZORMEXCELOUTPUTPATH", path.c_str());
    CapturedStream errors(2);
    CapturedStream output(1);
    {
      Report report;
      InitReport(&report);
      AddItemColumns(&report);
      Section(&report, {"a|1|1"});
      if (c.no_output_stream) report.output = nullptr;
      report.Close();
    }
    std::string expected = std::regex_replace(c.message, std::regex("HOME"), env.home().path());
    EXPECT_EQ(errors.Text(), expected);
    EXPECT_EQ(output.Text(), "");
    EXPECT_EQ(std::filesystem::exists(path), c.file_written);
    EXPECT_EQ(std::filesystem::directory_iterator(env.home().temp_dir()),
              std::filesystem::directory_iterator());  // no temporary file left
  }
}

TEST(ExcelFormatTest, CgiResponseCarriesTheWorkbookWithItsLength) {
  ExcelEnv env;
  env.Set("ZORMEXCELOUTPUTPATH", nullptr);
  env.Set("ZORMREPORTFORMAT", "text");  // not consulted in CGI mode
  env.Set("REQUEST_URI", "/cgi/zormreport?RPT=Excel");
  env.Set("REQUEST_METHOD", "GET");
  env.Set("QUERY_STRING", "RPT=Excel");
  CapturedStream output(1);
  {
    Report report;
    InitReport(&report);
    AddItemColumns(&report);
    Section(&report, {"box|12|1,500"});
    report.Close();
  }
  std::string response = output.Text();
  const std::string head =
      "Content-type: application/vnd.openxmlformats-officedocument.spreadsheetml.sheet\r\n"
      "Content-disposition: attachment; filename=\"Sheet-2021-03-04-15-30-00.xlsx\"\r\n"
      "Content-Length: ";
  ASSERT_EQ(response.substr(0, head.size()), head);
  size_t end_of_length = response.find("\n\r\n", head.size());
  ASSERT_NE(end_of_length, std::string::npos);
  std::string body = response.substr(end_of_length + 3);
  EXPECT_EQ(response.substr(head.size(), end_of_length - head.size()), std::to_string(body.size()));
  WorkbookReadBack read = ReadBackWorkbookBytes(body);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.sheets.at(0).rows,
            (Rows{{"s:Name", "s:Size", "s:Qty"}, {"s:box", "s:12", "n:1"}}));
  // In CGI mode nothing is saved to the named file.
  EXPECT_FALSE(std::filesystem::exists("Sheet-2021-03-04-15-30-00.xlsx"));
}

TEST(ExcelFormatTest, DroppedReportStillFinishesItsWorkbook) {
  ExcelEnv env;
  env.Set("ZORMDROPREPORT007", "");
  Report report;
  InitReport(&report);
  report.report_number = 7;
  AddItemColumns(&report);
  Section(&report, {"a|1|1"});
  report.Close();
  WorkbookReadBack read = ReadBackWorkbook(env.path());
  ASSERT_TRUE(read.ok) << read.error;
  for (const WorkbookReadBack::Sheet& sheet : read.sheets) EXPECT_TRUE(sheet.rows.empty());
}

}  // namespace
