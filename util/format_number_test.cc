#include "util/format_number.h"

#include <gtest/gtest.h>

TEST(FormatNumberTest, GroupsDigitsInThreesWithCommasCutToTheBuffer) {
  // Value, flags, buffer length and the text.
  const std::tuple<uint64_t, unsigned, size_t, const char*> cases[] = {
      {0, 0, 64, "0"},
      {0, 1, 64, " "},
      {999, 0, 64, "999"},
      {1005, 0, 64, "1,005"},
      {100000, 0, 64, "100,000"},
      {1234567, 2, 64, "1234567"},
      {1234567, 0, 6, "1,234"},
      {5, 0, 1, ""},
      {18446744073709551615ull, 0, 64, "18,446,744,073,709,551,615"}};
  for (const auto& [value, flags, length, text] : cases) {
    char buffer[64];
    EXPECT_STREQ(text, FormatNumber(value, buffer, length, flags)) << value;
  }
}
