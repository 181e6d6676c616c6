#include "listctrl/filter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

TEST(FilterTextTest, DecodesSavedFiltersAndSkipsDamagedTokens) {
  const struct Case {
    const char* text;
    Pairs filters;
  } kCases[] = {
      {"`L2`Rabc*`L5`Rx", {{2, "abc*"}, {5, "x"}}},
      {"`Rfirst`L1`Rsecond", {{0, "first"}, {1, "second"}}},  // no column yet: 0
      {"``L3```Q9`R!(a*)`", {{3, "!(a*)"}}},                   // empty and unknown tokens
      {"`L-4`Rneg`L`Rnone`L7x`Rlead", {{-4, "neg"}, {0, "none"}, {7, "lead"}}},
      {"`L99999999999`Rbig`R", {{-1, "big"}, {-1, ""}}},  // past int: no column
      {"L1Rno backquotes", {}},
      {"", {}},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(test.filters, DecodeFilterText(test.text));
  }
  ZORMFilterMap filters;
  filters[5].pattern = "x";
  filters[2].pattern = "abc*";
  EXPECT_EQ("`L2`Rabc*`L5`Rx", EncodeFilters(filters));
}

TEST(FilterTextTest, ColumnOrderIsTakenOnlyWhenItFitsTheColumns) {
  const struct Case {
    const char* text;
    int columns;
    std::vector<int> order;
  } kCases[] = {
      {"0,2,1,", 3, {0, 2, 1}}, {"0,2,1", 3, {}},   {"0,2,2,", 3, {}}, {"0,3,1,", 3, {}},
      {"0,1,", 3, {}},          {"0,-1,1,", 3, {}}, {"0,,1,", 3, {}},  {"", 0, {}},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(test.order, ParseColumnOrder(test.text, test.columns));
  }
  EXPECT_EQ("1,0,2,", FormatColumnOrder({1, 0, 2}));
}

TEST(FilterTest, FlagsFollowTheEnvironmentAtCreationAndRowsMatchWithThem) {
  // Programs run in the desktop's UTF-8 locale, where '?' matches a character.
  ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C.UTF-8"));
  const std::vector<std::string> row = {"BR-1001", "Hex Bolt", "Würth"};
  const struct Case {
    bool nocase;
    std::map<unsigned, std::string> patterns;
    uint32_t flags;
    bool passes;
  } kCases[] = {
      {false, {{1, "hex*"}}, 0x20, false},
      {true, {{1, "hex*"}}, 0x30, true},
      {false, {{0, "BR-*"}, {1, "!(*Nut*)"}}, 0x20, true},
      {false, {{0, "BR-*"}, {1, "@(Hex|Nut) *"}, {2, "W?rth"}}, 0x20, true},
      {false, {{0, "!(BR"}}, 0x20, false},  // unbalanced: matches nothing, no harm
      {false, {{7, "*"}}, 0x20, true},      // past the cells: an empty cell
      {false, {{7, "?*"}}, 0x20, false},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.patterns.rbegin()->second);
    if (test.nocase)
      setenv("ZORMFILTERNOCASE", "", 1);
    else
      unsetenv("ZORMFILTERNOCASE");
    ZORMFilterMap filters;
    for (const auto& [column, pattern] : test.patterns) filters[column].pattern = pattern;
    EXPECT_EQ(test.flags, filters.begin()->second.flags);
    EXPECT_EQ(test.passes, RowPassesFilters(row, filters));
  }
  unsetenv("ZORMFILTERNOCASE");
}

TEST(FilterTest, LongPatternsAreCutBetweenCharacters) {
  const struct Case {
    std::string text;
    size_t length;
  } kCases[] = {
      {std::string(1023, 'a'), 1023},
      {std::string(5000, 'a'), 1023},
      {std::string(1022, 'a') + "\xC3\xA9", 1022},  // é would straddle the limit
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.text.size());
    EXPECT_EQ(test.text.substr(0, test.length), CutToBytes(test.text, CZORMFilter::kMaxPattern));
  }
}

}  // namespace
