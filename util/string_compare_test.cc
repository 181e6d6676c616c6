#include "util/string_compare.h"

#include <gtest/gtest.h>

TEST(StringsEqualNoCaseTest, ComparesLengthAndUpperCasedCharacters) {
  EXPECT_TRUE(StringsEqualNoCase("", ""));
  EXPECT_TRUE(StringsEqualNoCase("Json", "JSON"));
  EXPECT_TRUE(StringsEqualNoCase("csv", "CsV"));
  EXPECT_FALSE(StringsEqualNoCase("csv", "csvx"));
  EXPECT_FALSE(StringsEqualNoCase("pdf", "pdg"));
  EXPECT_FALSE(StringsEqualNoCase("", "a"));
  EXPECT_TRUE(StringsEqualNoCase(nullptr, ""));
  // Only ASCII letters fold; bytes above 127 must match exactly.
  EXPECT_FALSE(StringsEqualNoCase("\xe9", "\xc9"));
}
