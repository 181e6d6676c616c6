#include "tools/zormreport/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report.h"

namespace {

bool Parse(std::vector<std::string> arguments, ZormreportOptions* options, std::string* error) {
  arguments.insert(arguments.begin(), "zormreport");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  return ParseZormreportArguments(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(ZormreportOptionsTest, ReadsColumnsWithWidthsAndFlags) {
  using namespace ReportColumnFlag;
  struct Case {
    std::string spec, name;
    uint64_t width;
    uint32_t flags;
  } cases[] = {
      {"Quantity:10:rn", "Quantity", 10, RightAlign | Numeric},
      {"All:1:rntfp", "All", 1, RightAlign | Numeric | Tags | Fixed | PlainNumber},
      {"Time: hh:mm:8", "Time: hh:mm", 8, 0},
  };
  for (const Case& c : cases) {
    ZormreportColumn column;
    std::string error;
    ASSERT_TRUE(ParseColumnSpec(c.spec, &column, &error)) << c.spec << ": " << error;
    EXPECT_EQ(c.name, column.name) << c.spec;
    EXPECT_EQ(c.width, column.width) << c.spec;
    EXPECT_EQ(c.flags, column.flags) << c.spec;
  }
}

TEST(ZormreportOptionsTest, RejectsBadArgumentsWithAMessage) {
  std::vector<std::string> many;
  for (int i = 0; i < 33; ++i) many.insert(many.end(), {"--column", "c" + std::to_string(i)
      + ":1"});
  struct Case {
    std::vector<std::string> arguments;
    std::string message_part;
  } cases[] = {
      {{"--title", "T"}, "at least one --column"},
      {{"--column"}, "needs a value"},
      {{"--column", "Name:x"}, "needs NAME:WIDTH"},
      {{"--column", "Name:2047"}, "width must be a number"},
      {{"--column", "Name:5:z"}, "unknown flag 'z'"},
      {{"--column", std::string(128, 'n') + ":5"}, "longer than 127"},
      {{"--column", "A:1000", "--column", "B:1000", "--column", "C:100"}, "too wide"},
      {many, "at most 32 columns"},
      {{"--column", "A:1", "--report-number", "65536"}, "0 to 65535"},
      {{"--column", "A:1", "--colour", "red"}, "unknown option '--colour'"},
      {{"--column", "A:1", "stray"}, "unexpected argument 'stray'"},
  };
  for (const Case& c : cases) {
    ZormreportOptions options;
    std::string error;
    EXPECT_FALSE(Parse(c.arguments, &options, &error)) << c.message_part;
    EXPECT_NE(std::string::npos, error.find(c.message_part)) << error;
  }
}

}  // namespace
