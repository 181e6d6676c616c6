#include "report/time_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

class TimeTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = getenv("TZ");
    saved_ = tz ? tz : "";
    had_ = tz != nullptr;
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    if (had_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  std::string saved_;
  bool had_ = false;
};

}  // namespace

TEST_F(TimeTextTest, FormatsLocalTimeWithItsThreeFormats) {
  const int64_t noon = 1614855600;  // Thursday 4 March 2021, 12:00 in Berlin (CET)
  EXPECT_STREQ("Thursday, March 04, 2021 - 12:00:00 (CET)", FormatProductionTime(noon));
  EXPECT_STREQ("Thursday, March 04, 2021 - 12:00:00", FormatTime(noon));
  EXPECT_STREQ("2021-03-04", FormatTime(noon, "%Y-%m-%d"));
  EXPECT_STREQ("2021-03-04-12-00-00", FormatFileStamp(noon));
  EXPECT_STREQ("Thursday, July 01, 2021 - 12:00:00 (CEST)", FormatProductionTime(1625133600));
}

TEST_F(TimeTextTest, ZeroIsNotSetAndAnUnrepresentableTimeIsAnError) {
  EXPECT_STREQ("Not-Set", FormatProductionTime(0));
  EXPECT_STREQ("Not-Set", FormatTime(0, "%Y"));
  EXPECT_STREQ("Not-Set", FormatFileStamp(0));
  EXPECT_STREQ("**ERROR**", FormatTime(INT64_MAX));
  EXPECT_STREQ("**ERROR**", FormatFileStamp(INT64_MIN));
}

TEST_F(TimeTextTest, EachFunctionKeepsItsOwnBuffer) {
  const char* production = FormatProductionTime(0);
  FormatTime(1614859200, "%Y");
  FormatFileStamp(1614859200);
  EXPECT_STREQ("Not-Set", production);
}
