#include "app/command_line_info_ex.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "app/upgrade_summary.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

void Parse(std::vector<const char*> args, CCommandLineInfoEx& info) {
  args.insert(args.begin(), "calvaro-upgrade");
  ParseCommandLine(static_cast<int>(args.size()), args.data(), info);
}

TEST(CommandLineInfoExTest, ThreeArgumentsFillTheSummary) {
  CCommandLineInfoEx info;
  Parse({"ABC", "Jul 5 2021", "/home/op/abc.msi"}, info);
  EXPECT_EQ(info.m_strModule, "ABC");
  EXPECT_EQ(info.m_strURL, "/home/op/abc.msi");
  EXPECT_EQ(BuiltText(info.m_dtBuilt), "Monday, July 05, 2021");
  EXPECT_EQ(info.m_nParam, 3);
}

TEST(CommandLineInfoExTest, FlagsCountAsArgumentsAndExtrasAreIgnored) {
  CCommandLineInfoEx info;
  Parse({"-ABC", "7/5/2021 18:00", "pkg.msi", "more", "-more"}, info);
  EXPECT_EQ(info.m_strModule, "ABC");
  EXPECT_EQ(info.m_strURL, "pkg.msi");
  EXPECT_TRUE(info.m_dtBuilt.IsValid());
  EXPECT_DOUBLE_EQ(info.m_dtBuilt.days(), OleDate::FromParts(2021, 7, 5, 18).days());
  EXPECT_EQ(info.m_nParam, 5);
}

TEST(CommandLineInfoExTest, MissingArgumentsKeepTheirInitialValues) {
  CCommandLineInfoEx info;
  Parse({}, info);
  EXPECT_EQ(info.m_strModule, "");
  EXPECT_EQ(info.m_strURL, "");
  EXPECT_EQ(info.m_dtBuilt, OleDate(0.0));
  EXPECT_EQ(BuiltText(info.m_dtBuilt), "Saturday, December 30, 1899");
}

TEST(CommandLineInfoExTest, UnparseableDatesAreInvalidWithTheParsersValue) {
  struct Case {
    const char* text;
    double days;
  } cases[] = {{"abc", 0.0}, {"Jul 5 12021", -1.0}};
  for (const Case& c : cases) {
    CCommandLineInfoEx info;
    Parse({"ABC", c.text}, info);
    EXPECT_EQ(info.m_dtBuilt.status(), OleDate::Status::kInvalid) << c.text;
    EXPECT_DOUBLE_EQ(info.m_dtBuilt.days(), c.days) << c.text;
    EXPECT_EQ(BuiltText(info.m_dtBuilt), "Invalid DateTime") << c.text;
  }
}

TEST(UpgradeSummaryTest, AgeCountsWholeDaysFromTheClock) {
  ScopedTestHome home;
  home.SetEnv("TZ", "UTC");  // whole days, whatever daylight saving the machine keeps
  tzset();
  const time_t now = 1625486400;  // 5 July 2021, 12:00 UTC
  ScopedFixedTime clock(now);
  struct Case {
    long long seconds_ago;
    const char* age;
  } cases[] = {
      {0, "0 days ago"},         {12 * 3600, "0 days ago"}, {24 * 3600 - 1, "0 days ago"},
      {24 * 3600, "1 days ago"}, {36 * 3600, "1 days ago"}, {152LL * 24 * 3600, "152 days ago"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AgeText(OleDate::FromTimeT(now - c.seconds_ago)), c.age) << c.seconds_ago;
  }
  // A date in the future reads as the unsigned value of a negative count.
  EXPECT_EQ(AgeText(OleDate::FromTimeT(now + 2 * 24 * 3600)), "4294967294 days ago");
}

TEST(UpgradeSummaryTest, AgeOfAnUnparseableDateCountsFromItsValue) {
  ScopedFixedTime clock(1625486400);
  const OleDate now = OleDate::Now();
  const auto expected = std::to_string(static_cast<long long>(now.days() + 1)) + " days ago";
  EXPECT_EQ(AgeText(OleDate(-1.0, OleDate::Status::kInvalid)), expected);
}

}  // namespace
