// Reads a workbook back with openpyxl (tests/support/read_workbook.py), so tests
// check the file itself and not what the writer meant to write.
#pragma once

#include <string>
#include <vector>

struct WorkbookReadBack {
  struct Sheet {
    std::string name;
    // rows[r][c]: "" for an empty cell, "n:<number>" for a number (an integer has
    // no decimal point), "s:<text>" for a text. Trailing empty cells and rows are
    // left out.
    std::vector<std::vector<std::string>> rows;
  };

  bool ok = false;    // false when the file does not open as a workbook
  std::string error;  // openpyxl's reason when !ok
  std::vector<Sheet> sheets;
};

WorkbookReadBack ReadBackWorkbook(const std::string& path);
// The same for the bytes of a workbook (written to a temporary file in $TMPDIR).
WorkbookReadBack ReadBackWorkbookBytes(const std::string& bytes);
