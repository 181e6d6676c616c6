#include "app/command_line_info_ex.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/upgrade_summary.h"
#include "util/clock.h"

namespace {

// The summary's values from the command line: the age counts whole days to the
// clock, and an unparseable date counts from its value.
TEST(CommandLineInfoExTest, FillsModuleBuildDateAndPackageInOrder) {
  struct tm noon = {0, 0, 12, 10, 6, 121, 0, 0, -1};  // 10 July 2021, local time
  ScopedFixedTime clock(mktime(&noon));
  const long long today = static_cast<long long>(OleDate::Now().days());
  struct Case {
    std::vector<const char*> args;
    std::string parsed;  // module|package|built|days|age|arguments seen
  } const kCases[] = {
      {{"ABC", "Jul 5 2021", "/p.msi"}, "ABC|/p.msi|Monday, July 05, 2021|44382|5 days ago|3"},
      {{"-ABC", "7/5/2021 23:59", "p.msi", "more", "-x"},
       "ABC|p.msi|Monday, July 05, 2021|44382.99931|4 days ago|5"},
      {{"A", "Jul 12 2021 12:00"},
       "A||Monday, July 12, 2021|44389.5|4294967294 days ago|2"},  // unsigned
      {{}, "||Saturday, December 30, 1899|0|" + std::to_string(today) + " days ago|0"},
      {{"ABC", "abc"}, "ABC||Invalid DateTime|0|" + std::to_string(today) + " days ago|2"},
      {{"ABC", "Jul 5 12021"},
       "ABC||Invalid DateTime|-1|" + std::to_string(today + 1) + " days ago|2"},
  };
  for (const Case& c : kCases) {
    std::vector<const char*> argv = c.args;
    argv.insert(argv.begin(), "calvaro-upgrade");
    CCommandLineInfoEx info;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), info);
    std::ostringstream parsed;
    parsed.precision(10);
    parsed << info.m_strModule << "|" << info.m_strURL << "|" << BuiltText(info.m_dtBuilt) << "|"
           << info.m_dtBuilt.days() << "|" << AgeText(info.m_dtBuilt) << "|" << info.m_nParam;
    EXPECT_EQ(parsed.str(), c.parsed);
  }
}

}  // namespace
