#include "app/command_line_info_ex.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/upgrade_summary.h"
#include "util/clock.h"

namespace {

TEST(CommandLineInfoExTest, FillsModuleBuildDateAndPackageInOrder) {
  struct Case {
    std::vector<const char*> args;
    const char *module, *url, *built;
    double days;
    int params;
  } const kCases[] = {
      {{"ABC", "Jul 5 2021", "/home/op/abc.msi"},
       "ABC",
       "/home/op/abc.msi",
       "Monday, July 05, 2021",
       OleDate::FromParts(2021, 7, 5).days(),
       3},
      {{"-ABC", "7/5/2021 18:00", "pkg.msi", "more", "-more"},
       "ABC",
       "pkg.msi",
       "Monday, July 05, 2021",
       OleDate::FromParts(2021, 7, 5, 18).days(),
       5},
      {{}, "", "", "Saturday, December 30, 1899", 0.0, 0},
      {{"ABC", "abc"}, "ABC", "", "Invalid DateTime", 0.0, 2},
      {{"ABC", "Jul 5 12021"}, "ABC", "", "Invalid DateTime", -1.0, 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    std::vector<const char*> argv = c.args;
    argv.insert(argv.begin(), "calvaro-upgrade");
    CCommandLineInfoEx info;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), info);
    EXPECT_EQ(info.m_strModule, c.module);
    EXPECT_EQ(info.m_strURL, c.url);
    EXPECT_EQ(BuiltText(info.m_dtBuilt), c.built);
    EXPECT_DOUBLE_EQ(info.m_dtBuilt.days(), c.days);
    EXPECT_EQ(info.m_nParam, c.params);
  }
}

TEST(UpgradeSummaryTest, AgeCountsWholeDaysFromTheClock) {
  ScopedFixedTime clock(1625486400);  // 5 July 2021, 12:00 UTC
  const double now = OleDate::Now().days();
  struct Case {
    double days_ago;
    const char* age;
  } const kCases[] = {
      {0, "0 days ago"},   {0.5, "0 days ago"},   {0.999, "0 days ago"},       {1, "1 days ago"},
      {1.5, "1 days ago"}, {152, "152 days ago"}, {-2, "4294967294 days ago"},  // unsigned
  };
  for (const Case& c : kCases) EXPECT_EQ(AgeText(OleDate(now - c.days_ago)), c.age) << c.days_ago;
  // An unparseable date counts from its value.
  EXPECT_EQ(AgeText(OleDate(-1.0, OleDate::Status::kInvalid)),
            std::to_string(static_cast<long long>(now + 1)) + " days ago");
}

}  // namespace
