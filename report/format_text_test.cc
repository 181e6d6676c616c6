#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report.h"
#include "report/report_test_support.h"

namespace {

struct ColumnSpec {
  uint64_t width;
  const char* name;
  uint32_t flags;
};

using ReportColumnFlag::Hidden;
using ReportColumnFlag::Numeric;
using ReportColumnFlag::PlainNumber;
using ReportColumnFlag::RightAlign;

// The lines after the heading block of a text report: headings, underline, one line
// per record, and the trailer's underline.
std::vector<std::string> TableLines(const std::vector<ColumnSpec>& columns,
                                    const char* deletion_list,
                                    const std::vector<std::string>& records) {
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  if (deletion_list != nullptr) snprintf(report.column_delete, sizeof report.column_delete, "%s", deletion_list);
  for (const ColumnSpec& column : columns) report.AddColumn(column.width, column.name, column.flags);
  report.Header(nullptr, "T", nullptr);
  for (const std::string& record : records) report.AddRecord("%s", record.c_str());
  report.Trailer();
  report.Close();
  std::string text = out.Text();
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends with a line feed";
  // The heading block is everything up to and including the first empty line
  // after the first line.
  size_t blank = 1;
  while (blank < lines.size() && !lines[blank].empty()) ++blank;
  return std::vector<std::string>(lines.begin() + std::min(blank + 1, lines.size()), lines.end());
}

}  // namespace

TEST(ReportTextTest, HeadingBlockIsWrittenLineByLine) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.report_number = 12;
  snprintf(report.column_delete, sizeof report.column_delete, "1");
  report.AddColumn(6, "Name", 0);
  report.AddColumn(4, "Size", RightAlign);
  report.Header(nullptr, "Stock", "%d items from %s", 3, "Berlin");
  report.Close();
  EXPECT_EQ(std::string("\n"
                        "             System: Calvaro\n"
                        "          Report ID: 12\n"
                        " Report Description: Stock\n"
                        "       Report Notes: 3 items from Berlin\n"
                        "    Production Time: ") +
                kReportTestTimeText +
                "\n"
                "       Report Width: 12 bytes\n"
                "      Report Hidden: 6 bytes\n"
                "\n"
                "Size \n"
                "---- \n",
            out.Text());
}

TEST(ReportTextTest, CallbackWritesBetweenHeadingBlockAndColumnHeadings) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.AddColumn(3, "A", 0);
  report.Header([](Report* r) { fputs("extra line\n", r->output); }, "T", "%s", "");
  report.Close();
  EXPECT_EQ(std::string("\n             System: Calvaro\n Report Description: T\n"
                        "    Production Time: ") +
                kReportTestTimeText +
                "\n       Report Width: 4 bytes\n\nextra line\n\nA   \n--- \n",
            out.Text());
}

TEST(ReportTextTest, TableLinesPlaceCutAndConvertValues) {
  ReportTestEnv env;
  const std::vector<ColumnSpec> name_size = {{6, "Name", 0}, {4, "Size", RightAlign}};
  struct Case {
    const char* what;
    std::vector<ColumnSpec> columns;
    const char* deletion_list;
    std::vector<std::string> records;
    std::vector<std::string> expected;
  } cases[] = {
      {"left and right alignment", name_size, nullptr, {"abc|42"},
       {"Name   Size ", "------ ---- ", "abc      42 ", "------ ---- "}},
      {"first column hidden", name_size, "1", {"abc|42"},
       {"Size ", "---- ", "  42 ", "---- "}},
      {"a long value is cut to the width, also right-aligned", {{5, "Code", RightAlign}}, nullptr,
       {"ABCDEFGH"}, {" Code ", "----- ", "ABCDE ", "----- "}},
      {"numbers with separators, plain, zero, question mark, negative",
       {{10, "N", Numeric | RightAlign}, {8, "P", Numeric | PlainNumber}, {4, "Z", Numeric | PlainNumber}},
       nullptr,
       {"1234567|1234567|0", "?unknown|12abc|x", "-1234|  42|7"},
       {"         N P        Z    ", "---------- -------- ---- ",
        " 1,234,567 1234567       ", "  ?unknown 12            ", "    -1,234 42       7    ",
        "---------- -------- ---- "}},
      {"runs of separators count as one; a blank value leaves a column empty",
       {{2, "A", 0}, {2, "B", 0}, {2, "C", 0}}, nullptr, {"a||b", "a| |b", "|a", "a|b|c|d|e"},
       {"A  B  C  ", "-- -- -- ", "a  b     ", "a     b  ", "a        ", "a  b  c  ", "-- -- -- "}},
      {"deletion list with repeats, junk and numbers out of range hides column 2 once",
       {{2, "A", 0}, {3, "B", 0}, {2, "C", 0}}, "2,40,x,2,0", {"1|2|3"},
       {"A  C  ", "-- -- ", "1  3  ", "-- -- "}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, TableLines(c.columns, c.deletion_list, c.records)) << c.what;
  }
}

TEST(ReportTextTest, HiddenWidthCountsARepeatedColumnTwice) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  snprintf(report.column_delete, sizeof report.column_delete, "2,40,x,2");
  report.AddColumn(10, "A", 0);
  report.AddColumn(5, "B", 0);
  report.Header(nullptr, "T", nullptr);
  EXPECT_EQ(10u, report.hidden_width);
  EXPECT_NE(std::string::npos, out.Text().find("      Report Hidden: 10 bytes\n"));
  report.Close();
}

TEST(ReportTextTest, ColumnsGetOffsetsAndTheLineWidthGrows) {
  ReportTestEnv env;
  Report report;
  InitReport(&report);
  EXPECT_EQ(11u, report.AddColumn(10, "A", 0));
  EXPECT_EQ(6u, report.AddColumn(5, "B", 0));
  EXPECT_EQ(0u, report.columns[0].offset);
  EXPECT_EQ(11u, report.columns[1].offset);
  EXPECT_EQ(17u, report.line_width);
  EXPECT_EQ(2u, report.column_count);
  report.output = nullptr;
  report.Close();
}

// Callers that go past the limits get cut or ignored input, never memory errors
// (the sanitizer build runs these).
TEST(ReportTextTest, LimitsCutOrIgnoreWhatIsTooLong) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  std::string long_name(300, 'n');
  for (int i = 0; i < 40; ++i) report.AddColumn(100, long_name.c_str(), i % 2 ? RightAlign : 0);
  EXPECT_EQ(32u, report.column_count);
  EXPECT_EQ(std::string(127, 'n'), report.columns[0].name);
  EXPECT_EQ(32u * 101, report.line_width);
  report.AddColumn(UINT64_MAX, "huge", 0);  // ignored: the table is full
  report.Header(nullptr, std::string(5000, 't').c_str(), "%s", std::string(5000, 'o').c_str());
  std::string record(3000, 'v');
  for (int i = 0; i < 40; ++i) record[i * 50] = '|';
  report.AddRecord("%s", record.c_str());
  report.Trailer();
  report.Close();

  std::string text = out.Text();
  EXPECT_NE(std::string::npos, text.find("       Report Notes: " + std::string(2047, 'o') + "\n"));
  // Every table line is cut to the line buffer: 2047 characters and a line feed.
  size_t heading = text.find("\n\n") + 2;
  std::string first_line = text.substr(heading, text.find('\n', heading) - heading);
  EXPECT_EQ(2047u, first_line.size());
}

TEST(ReportTextTest, HugeWidthsAreCutToTheLineBuffer) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.AddColumn(UINT64_MAX - 1, "wide", RightAlign);
  report.AddColumn(UINT64_MAX, "wider", 0);
  report.AddColumn(3, "abc", 0);
  report.Header(nullptr, "T", nullptr);
  report.AddRecord("x|y|z");
  report.Close();
  std::string text = out.Text();
  size_t heading = text.find("\n\n") + 2;
  std::string first_line = text.substr(heading, text.find('\n', heading) - heading);
  // A right-aligned text of a column wider than the line ends beyond it: not shown.
  EXPECT_EQ(std::string(2047, ' '), first_line);
}

TEST(ReportTextTest, RecordCounterCountsFromOneAfterInitAndReset) {
  ReportTestEnv env;
  Report parent, child;
  InitReport(&parent);
  InitReport(&child);
  parent.output = child.output = nullptr;
  child.parent = &parent;
  child.AddColumn(3, "A", 0);
  child.Header(nullptr, "T", nullptr);
  child.AddRecord("1");
  EXPECT_EQ(1u, child.record_counter);
  parent.record_counter = 5;
  child.ResetCounters();
  EXPECT_EQ(0u, parent.record_counter);
  child.AddRecord("1");
  EXPECT_EQ(1u, child.record_counter);
  EXPECT_EQ(2u, child.progress.count);
  child.Close();
  parent.Close();
}
