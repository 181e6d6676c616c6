#include "listctrl/filter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {

TEST(FilterTextTest, DecodesSavedFiltersAndSkipsDamagedTokens) {
  const struct Case {
    const char* text;
    std::vector<std::pair<int, std::string>> filters;
  } kCases[] = {
      {"`L2`Rabc*`L5`Rx", {{2, "abc*"}, {5, "x"}}},
      {"`Rfirst``L1```Q9`R!(a*)`", {{0, "first"}, {1, "!(a*)"}}},  // empty, unknown tokens
      {"`L-4`Rneg`L`Rnone`L7x`Rlead", {{-4, "neg"}, {0, "none"}, {7, "lead"}}},
      {"`L99999999999`Rbig`R", {{-1, "big"}, {-1, ""}}},  // past int: no column
      {"L1Rno backquotes", {}},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(test.filters, DecodeFilterText(test.text));
  }
}

TEST(FilterTest, FlagsFollowTheEnvironmentAtCreationAndRowsMatchWithThem) {
  // Programs run in the desktop's UTF-8 locale, where '?' matches a character.
  ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C.UTF-8"));
  const std::vector<std::string> row = {"BR-1001", "Hex Bolt", "Würth"};
  const struct Case {
    const char* nocase;
    std::map<unsigned, std::string> patterns;
    uint32_t flags;
    bool passes;
  } kCases[] = {
      {nullptr, {{1, "hex*"}}, 0x20, false},
      {"", {{1, "hex*"}}, 0x30, true},
      {nullptr, {{0, "BR-*"}, {1, "@(Hex|Nut) !(*Nut*)"}, {2, "W?rth"}}, 0x20, true},
      {nullptr, {{0, "!(BR"}}, 0x20, false},  // unbalanced: matches nothing, no harm
      {nullptr, {{7, "?*"}}, 0x20, false},    // past the cells: an empty cell
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.patterns.rbegin()->second);
    test.nocase ? setenv("ZORMFILTERNOCASE", test.nocase, 1) : unsetenv("ZORMFILTERNOCASE");
    ZORMFilterMap filters;
    for (const auto& [column, pattern] : test.patterns) filters[column].pattern = pattern;
    EXPECT_EQ(test.flags, filters.begin()->second.flags);
    EXPECT_EQ(test.passes, RowPassesFilters(row, filters));
  }
  unsetenv("ZORMFILTERNOCASE");
}

}  // namespace
