#include "report/report_cells.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ReportCellsTest, ReadsLeadingIntegersAndStopsAtTheRangeEnds) {
  struct Case {
    const char* text;
    uint32_t limit;
    int64_t expected;
  } cases[] = {
      {"  -42abc", 32, -42},  {"+7", 32, 7},     {"1,500", 32, 1},
      {"abc", 32, 0},         {"-", 32, 0},      {"123456", 3, 123},
      {"99999999999999999999999", 32, INT64_MAX}, {"-9223372036854775808", 32, INT64_MIN},
      {"-99999999999999999999999", 32, INT64_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ReadLeadingInteger(c.text, c.limit)) << c.text;
}

TEST(ReportCellsTest, NumericCellsReadOnlyTheFirst32Characters) {
  char buffer[kNumericCellBuffer];
  const std::string long_value = std::string(31, ' ') + "12345";  // the 32nd character is 1
  EXPECT_EQ("1", NumericCellText(long_value.c_str(), long_value.size(), 0, buffer));
  EXPECT_EQ("-9,223,372,036,854,775,808", NumericCellText("-9223372036854775808", 20, 0, buffer));
}

TEST(ReportCellsTest, TrimmingKeepsTextBeyondAscii) {
  for (auto [value, expected] : {std::pair{" \t a b \r\n", "a b"}, {"\x7f\x01x\x1f", "x"},
                                 {"\xc3\xa9 ", "\xc3\xa9"}, {"   ", ""}}) {
    EXPECT_EQ(expected, TrimReportValue(value, strlen(value))) << value;
  }
}
