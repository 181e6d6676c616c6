#include "util/string_compare.h"

#include <gtest/gtest.h>

TEST(StringsEqualNoCaseTest, ComparesLengthAndUpperCasedAsciiLetters) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"", "", true},      {"Json", "JSON", true}, {"csv", "csvx", false}, {"pdf", "pdg", false},
      {nullptr, "", true}, {"\xe9", "\xc9", false}};  // bytes above 127 must match exactly
  for (const auto& [a, b, equal] : cases) EXPECT_EQ(StringsEqualNoCase(a, b), equal) << b;
}
