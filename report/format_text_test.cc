#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "report/report.h"
#include "tests/support/report_fixture.h"

namespace {

using ReportColumnFlag::Numeric;
using ReportColumnFlag::PlainNumber;
using ReportColumnFlag::RightAlign;

struct Column {
  uint64_t width;
  const char* name;
  uint32_t flags;
};

// A text report of one section; `write` adds the records.
std::string TextReport(const std::vector<Column>& columns, const char* deletion_list,
                       const std::function<void(Report*)>& write) {
  return WriteReportText([&](Report& report) {
    if (deletion_list != nullptr)
      snprintf(report.column_delete, sizeof report.column_delete, "%s", deletion_list);
    for (const Column& column : columns) report.AddColumn(column.width, column.name, column.flags);
    write(&report);
  });
}

const std::vector<Column> kNameSize = {{6, "Name", 0}, {4, "Size", RightAlign}};

TEST(ReportTextTest, HeadingBlockIsWrittenLineByLine) {
  ReportTestEnv env;
  EXPECT_EQ("\n             System: Calvaro\n          Report ID: 12\n Report Description: Stock\n"
            "       Report Notes: 3 items from Berlin\n    Production Time: " +
                std::string(kReportTestTimeText) + "\n       Report Width: 12 bytes\n      Report Hidden: 6 bytes\n\nSize \n---- \n",
            TextReport(kNameSize, "1", [](Report* r) {
              r->report_number = 12;
              r->Header(nullptr, "Stock", "%d items from %s", 3, "Berlin");
            }));
}

TEST(ReportTextTest, TableLinesPlaceCutAndConvertValues) {
  ReportTestEnv env;
  struct Case {
    const char* what;
    std::vector<Column> columns;
    const char* deletion_list;
    std::vector<std::string> records;
    std::vector<std::string> expected;
  } cases[] = {
      {"left and right alignment", kNameSize, nullptr, {"abc|42"},
       {"Name   Size ", "------ ---- ", "abc      42 ", "------ ---- "}},
      {"first column hidden", kNameSize, "1", {"abc|42"}, {"Size ", "---- ", "  42 ", "---- "}},
      {"a long value is cut to the width, also right-aligned", {{5, "Code", RightAlign}}, nullptr,
       {"ABCDEFGH"}, {" Code ", "----- ", "ABCDE ", "----- "}},
      {"numbers with separators, plain, zero, question mark, negative",
       {{10, "N", Numeric | RightAlign}, {8, "P", Numeric | PlainNumber}, {4, "Z",
           Numeric | PlainNumber}},
       nullptr, {"1234567|1234567|0", "?unknown|12abc|x", "-1234|  42|7"},
       {"         N P        Z    ", "---------- -------- ---- ", " 1,234,567 1234567       ",
        "  ?unknown 12            ", "    -1,234 42       7    ", "---------- -------- ---- "}},
      {"runs of separators count as one; a blank value leaves a column empty",
       {{2, "A", 0}, {2, "B", 0}, {2, "C", 0}}, nullptr, {"a||b", "a| |b", "|a", "a|b|c|d|e"},
       {"A  B  C  ", "-- -- -- ", "a  b     ", "a     b  ", "a        ", "a  b  c  ", "-- -- -- "}},
      {"deletion list with repeats, junk and numbers out of range hides column 2 once",
       {{2, "A", 0}, {3, "B", 0}, {2, "C", 0}}, "2,40,x,2,0", {"1|2|3"},
       {"A  C  ", "-- -- ", "1  3  ", "-- -- "}},
  };
  for (const Case& c : cases) {
    const std::string text = TextReport(c.columns, c.deletion_list, [&](Report* r) {
      r->Header(nullptr, "T", nullptr);
      for (const std::string& record : c.records) r->AddRecord("%s", record.c_str());
      r->Trailer();
    });
    // The lines after the heading block, each ended by a line feed.
    ASSERT_EQ('\n', text.back()) << c.what;
    std::vector<std::string> lines;
    for (size_t start = text.find("\n\n", 1) + 2, end; start < text.size(); start = end + 1)
      lines.push_back(text.substr(start, (end = text.find('\n', start)) - start));
    EXPECT_EQ(c.expected, lines) << c.what;
  }
}

}  // namespace
