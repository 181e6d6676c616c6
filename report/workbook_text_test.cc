#include "report/workbook_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(WorkbookCellTextTest, RepairsBytesAndEscapesWhatXmlCannotHold) {
  struct Case {
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"plain text", "plain text"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"a\xFF" "b", "a" + kReplacement + "b"},
      {"end\xC3", "end" + kReplacement},                     // cut short at the end
      {"\xE2\x82x", kReplacement + "x"},                       // one piece, one replacement
      {"\xC0\xAF", kReplacement + kReplacement},               // overlong slash
      {"\xE0\x80\xAF", kReplacement + kReplacement + kReplacement},  // overlong
      {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},  // a surrogate
      {"\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
      {"\xEF\xBF\xBE|\xEF\xBF\xBF", kReplacement + "|" + kReplacement},  // not characters
      {"a\x01" "b\x1F" "c", "a_x0001_b_x001F_c"},
      {std::string("a\0b", 3), "a_x0000_b"},
      {"line\r\nnext", "line_x000D_\nnext"},
      {"tab\there\x7F", "tab\there\x7F"},
      {"_x0041_", "_x005F_x0041_"},
      {"a_x00fF_b_X0041_", "a_x005F_x00fF_b_X0041_"},
      {"_x004_ _xGGGG_ _x0041 _", "_x004_ _xGGGG_ _x0041 _"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WorkbookCellText(c.input), c.expected) << c.input;
}

TEST(WorkbookCellTextTest, CutsAtTheCellLimitBetweenCharacters) {
  const size_t limit = kWorkbookMaxCellCharacters;
  struct Case {
    std::string input;
    std::string expected;
  };
  std::string e_acute = "\xC3\xA9";
  std::string many_e_acute;
  for (size_t i = 0; i < limit + 1; ++i) many_e_acute += e_acute;
  const Case cases[] = {
      {std::string(limit, 'x'), std::string(limit, 'x')},
      {std::string(limit + 5000, 'x'), std::string(limit, 'x')},
      // An escape that does not fit whole is left out.
      {std::string(limit - 3, 'x') + "\x01", std::string(limit - 3, 'x')},
      {std::string(limit - 7, 'x') + "\x01", std::string(limit - 7, 'x') + "_x0001_"},
      // Characters, not bytes, are counted.
      {many_e_acute, many_e_acute.substr(0, limit * e_acute.size())},
  };
  for (const Case& c : cases) {
    std::string text = WorkbookCellText(c.input);
    EXPECT_EQ(text.size(), c.expected.size());
    EXPECT_TRUE(text == c.expected);
  }
}

TEST(WorkbookCellTextTest, NameTextIsValidUtf8WithoutControls) {
  struct Case {
    std::string name;
    bool valid;
  };
  const Case cases[] = {
      {"Report 7 1804289383", true}, {"Caf\xC3\xA9", true},   {"bad\xFF", false},
      {"tab\there", false},          {"cut\xE2\x82", false},  {"\xEF\xBF\xBE", false},
      {"del\x7F", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsWorkbookNameText(c.name), c.valid) << c.name;
}

}  // namespace
