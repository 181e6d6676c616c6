#include "report/time_text.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_time_zone.h"

TEST(TimeTextTest, FormatsLocalTimeNotSetAndErrors) {
  ScopedTimeZone zone("Europe/Berlin");
  const int64_t noon = 1614855600;  // Thursday 4 March 2021, 12:00 in Berlin (CET)
  const char* not_set = FormatProductionTime(0);  // each function keeps its own buffer
  EXPECT_STREQ("Thursday, March 04, 2021 - 12:00:00", FormatTime(noon));
  EXPECT_STREQ("2021-03-04", FormatTime(noon, "%Y-%m-%d"));
  EXPECT_STREQ("2021-03-04-12-00-00", FormatFileStamp(noon));
  EXPECT_STREQ("Not-Set", not_set);
  EXPECT_STREQ("Thursday, July 01, 2021 - 12:00:00 (CEST)", FormatProductionTime(1625133600));
  EXPECT_STREQ("**ERROR**", FormatFileStamp(INT64_MIN));
}
