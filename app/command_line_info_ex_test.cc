#include "app/command_line_info_ex.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/upgrade_summary.h"
#include "util/clock.h"

namespace {

TEST(CommandLineInfoExTest, FillsModuleBuildDateAndPackageInOrder) {
  struct Case {
    std::vector<const char*> args;
    std::string parsed;  // module|package|built|days|arguments seen
  } const kCases[] = {
      {{"ABC", "Jul 5 2021", "/home/op/abc.msi"},
       "ABC|/home/op/abc.msi|Monday, July 05, 2021|44382|3"},
      {{"-ABC", "7/5/2021 18:00", "pkg.msi", "more", "-x"},
       "ABC|pkg.msi|Monday, July 05, 2021|44382.75|5"},
      {{}, "||Saturday, December 30, 1899|0|0"},
      {{"ABC", "abc"}, "ABC||Invalid DateTime|0|2"},
      {{"ABC", "Jul 5 12021"}, "ABC||Invalid DateTime|-1|2"},
  };
  for (const Case& c : kCases) {
    std::vector<const char*> argv = c.args;
    argv.insert(argv.begin(), "calvaro-upgrade");
    CCommandLineInfoEx info;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), info);
    std::ostringstream parsed;
    parsed.precision(10);
    parsed << info.m_strModule << "|" << info.m_strURL << "|" << BuiltText(info.m_dtBuilt) << "|"
           << info.m_dtBuilt.days() << "|" << info.m_nParam;
    EXPECT_EQ(parsed.str(), c.parsed);
  }
}

TEST(UpgradeSummaryTest, AgeCountsWholeDaysFromTheClock) {
  ScopedFixedTime clock(1625486400);  // 5 July 2021, 12:00 UTC
  const double now = OleDate::Now().days();
  const std::pair<OleDate, std::string> kCases[] = {
      {OleDate(now), "0 days ago"},
      {OleDate(now - 0.999), "0 days ago"},
      {OleDate(now - 1), "1 days ago"},
      {OleDate(now - 1.5), "1 days ago"},
      {OleDate(now - 152), "152 days ago"},
      {OleDate(now + 2), "4294967294 days ago"},  // unsigned
      // An unparseable date counts from its value.
      {OleDate(-1.0, OleDate::Status::kInvalid), std::to_string(int(now + 1)) + " days ago"},
  };
  for (const auto& [built, age] : kCases) EXPECT_EQ(AgeText(built), age) << built.days();
}

}  // namespace
