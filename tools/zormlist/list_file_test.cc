#include "tools/zormlist/list_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Rows as "cell,cell;cell,cell", the columns as the first row.
std::string Flatten(const ListFile& file) {
  std::string text;
  auto add_row = [&text](const std::vector<std::string>& cells) {
    if (!text.empty()) text += ';';
    for (size_t i = 0; i < cells.size(); ++i) text += (i ? "," : "") + cells[i];
  };
  add_row(file.columns);
  for (const auto& row : file.rows) add_row(row);
  return text;
}

TEST(ListFileTest, ParsesRowsOrNamesTheFault) {
  struct Case {
    const char* name;
    std::string text;
    const char* expected;  // flattened file, or the error message
  };
  const Case kCases[] = {
      {"lf", "A|B\n1|2\n3|4\n", "A,B;1,2;3,4"},
      {"crlf, no end", "A|B\r\n1|2\r\n3|4", "A,B;1,2;3,4"},
      {"short rows padded", "A|B|C\n1\n|2\n", "A,B,C;1,,;,2,"},
      {"empty lines skipped", "A|B\n\n1|2\r\n\r\n\n3\n", "A,B;1,2;3,"},
      {"header only", "A|B", "A,B"},
      {"bom dropped", "\xEF\xBB\xBFPart|Qty\nx|1\n", "Part,Qty;x,1"},
      {"utf8 kept", "Name\nGrüße\n", "Name;Grüße"},
      {"lone cr is data", "A\nx\ry\n", "A;x\ry"},
      {"empty", "", "The file \"f.txt\" has no header line: its first line must name the columns."},
      {"blank first line", "\r\nA|B\n",
       "The file \"f.txt\" has no header line: its first line must name the columns."},
      {"too many fields", "A|B\n1|2\n\n1|2|3|4\n",
       "Line 4 of \"f.txt\" has 4 fields, more than the 2 columns of the header."},
      {"latin-1 row", "A\nok\nGr\xFC\xDF" "e\n", "Line 3 of \"f.txt\" is not UTF-8 text."},
      {"latin-1 header", "\xC4rger|B\n", "Line 1 of \"f.txt\" is not UTF-8 text."},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ListFile file;
    const Status status = ParseListFile(c.text, "f.txt", &file);
    EXPECT_EQ(c.expected, status.ok() ? Flatten(file) : status.message());
    if (!status.ok()) {
      EXPECT_TRUE(file.columns.empty() && file.rows.empty());
    }
  }
}

TEST(ListFileTest, AFileThatCannotBeReadIsNamed) {
  ListFile file;
  const Status status = ReadListFile("/nonexistent/parts.txt", &file);
  EXPECT_EQ("Cannot open the file \"/nonexistent/parts.txt\": No such file or directory.",
            status.message());
}

}  // namespace
