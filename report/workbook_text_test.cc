#include "report/workbook_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD
const size_t kLimit = kWorkbookMaxCellCharacters;

TEST(WorkbookCellTextTest, RepairsBytesEscapesWhatXmlCannotHoldAndCutsAtTheLimit) {
  const std::string e_acute = "\xC3\xA9";
  std::string many_e_acute;
  for (size_t i = 0; i <= kLimit; ++i) many_e_acute += e_acute;
  struct Case {
    std::string input, expected;
  } cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"a\xFF" "b", "a" + kBad + "b"},
      {"end\xC3", "end" + kBad},                   // cut short at the end
      {"\xE2\x82x", kBad + "x"},                   // one piece, one replacement
      {"\xC0\xAF", kBad + kBad},                   // overlong slash
      {"\xED\xA0\x80", kBad + kBad + kBad},        // a surrogate
      {"\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},
      {"\xEF\xBF\xBE|\xEF\xBF\xBF", kBad + "|" + kBad},  // not characters
      {"a\x01" "b\x1F" "c", "a_x0001_b_x001F_c"},
      {std::string("a\0b", 3), "a_x0000_b"},
      {"tab\there\x7F", "tab\there\x7F"},
      {"a_x00fF_b_X0041_", "a_x005F_x00fF_b_X0041_"},
      {"_x004_ _xGGGG_ _x0041 _", "_x004_ _xGGGG_ _x0041 _"},
      {std::string(kLimit + 5000, 'x'), std::string(kLimit, 'x')},
      // An escape that does not fit whole is left out.
      {std::string(kLimit - 3, 'x') + "\x01", std::string(kLimit - 3, 'x')},
      {std::string(kLimit - 7, 'x') + "\x01", std::string(kLimit - 7, 'x') + "_x0001_"},
      {many_e_acute, many_e_acute.substr(0, kLimit * e_acute.size())},  // characters count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 40));
    EXPECT_TRUE(WorkbookCellText(c.input) == c.expected);
  }
}

}  // namespace
