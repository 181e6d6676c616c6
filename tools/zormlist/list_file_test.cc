#include "tools/zormlist/list_file.h"

#include <gtest/gtest.h>

// The columns, then each row, as "cell,cell;cell,cell".
static std::string Flatten(const ListFile& file) {
  std::string text;
  auto add = [&text](const std::vector<std::string>& cells) {
    if (!text.empty()) text += ';';
    for (size_t i = 0; i < cells.size(); ++i) text += (i ? "," : "") + cells[i];
  };
  add(file.columns);
  for (const auto& row : file.rows) add(row);
  return text;
}

TEST(ListFileTest, ParsesRowsOrNamesTheFault) {
  struct Case {
    std::string text;
    const char* expected;  // the flattened file, or the error message
  };
  const Case kCases[] = {
      {"A|B\r\n1|2\n\r\n\n3", "A,B;1,2;3,"},
      {"\xEF\xBB\xBFName\nGrüße\n", "Name;Grüße"},
      {"", "The file \"f.txt\" has no header line: its first line must name the columns."},
      {"A|B\n\n1|2|3\n",
       "Line 3 of \"f.txt\" has 3 fields, more than the 2 columns of the header."},
      {"A\nGr\xFC\xDF" "e\n", "Line 2 of \"f.txt\" is not UTF-8 text."},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    ListFile file;
    const Status status = ParseListFile(c.text, "f.txt", &file);
    EXPECT_EQ(c.expected, status.ok() ? Flatten(file) : status.message());
  }
}
