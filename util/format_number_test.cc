#include "util/format_number.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FormatNumberTest, GroupsDigitsInThreesWithCommas) {
  struct Case {
    uint64_t value;
    unsigned flags;
    const char* text;
  } cases[] = {
      {0, 0, "0"},
      {0, 1, " "},
      {0, 2, " "},
      {7, 0, "7"},
      {999, 0, "999"},
      {1000, 0, "1,000"},
      {1005, 0, "1,005"},
      {100000, 0, "100,000"},
      {1234567, 0, "1,234,567"},
      {1234567, 2, "1234567"},
      {1234567, 1, "1,234,567"},
      {18446744073709551615ull, 0, "18,446,744,073,709,551,615"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    EXPECT_STREQ(c.text, FormatNumber(c.value, buffer, sizeof buffer, c.flags))
        << c.value << " flags " << c.flags;
  }
}

TEST(FormatNumberTest, CutsToTheBufferLength) {
  char buffer[6];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_STREQ("1,234", FormatNumber(1234567, buffer, sizeof buffer, 0));
  char one[1] = {'x'};
  EXPECT_STREQ("", FormatNumber(5, one, sizeof one, 0));
}

TEST(FormatNumberTest, SharedBufferHoldsOnlyTheLatestResult) {
  const char* first = FormatNumber(1000);
  const char* second = FormatNumber(2000);
  EXPECT_EQ(first, second);
  EXPECT_STREQ("2,000", first);
}
