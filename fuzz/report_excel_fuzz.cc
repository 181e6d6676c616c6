// Records of any bytes through the Excel format of the report writer, and the cell
// text repair on its own, whose result must always be text a workbook can hold.
//
// Input: the first line declares the columns (each byte one column: its flags from
// the bits); every further line is a record or a "#!" directive as zormreport reads
// them. The whole input is also repaired as one cell text.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/split_input.h"
#include "report/report.h"
#include "report/workbook_text.h"
#include "tools/zormreport/record_feeder.h"

namespace {

// Characters of `text`, or SIZE_MAX when it is not UTF-8 a workbook can hold:
// control characters other than tab and line feed, U+FFFE and U+FFFF are not.
size_t CheckedCharacters(const std::string& text) {
  // Allowed characters become spaces rather than vanish: dropping a newline could
  // join two invalid bytes around it into one valid character.
  std::string allowed_as_space;
  size_t characters = 0;
  for (char c : text) {
    allowed_as_space += (c == '\t' || c == '\n' || c == '\x7F') ? ' ' : c;
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return IsWorkbookNameText(allowed_as_space) ? characters : SIZE_MAX;
}

void CheckCellText(const std::string& input) {
  std::string text = WorkbookCellText(input);
  size_t characters = CheckedCharacters(text);
  if (characters == SIZE_MAX || characters > kWorkbookMaxCellCharacters) abort();
  // Text that needs no repair is kept as it is.
  if (CheckedCharacters(input) <= kWorkbookMaxCellCharacters &&
      input.find('_') == std::string::npos && text != input)
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string path = "/tmp/report_excel_fuzz-" + std::to_string(getpid()) + ".xlsx";
  setenv("ZORMEXCELOUTPUTPATH", path.c_str(), 1);
  unsetenv("REQUEST_URI");
  unsetenv("ZORMREPORTCOLUMNDELETE");
  atexit([] { unlink(path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  CheckCellText(input);

  std::vector<std::string> lines = SplitInput(input, '\n');
  Report report;
  InitReport(&report);
  report.format = ReportFormat::Excel;
  for (unsigned char c : lines[0]) {
    uint32_t flags = (c & 0x40 ? ReportColumnFlag::Numeric : 0) |
                     (c & 0x20 ? ReportColumnFlag::Hidden : 0);
    report.AddColumn(4, lines[0].c_str(), flags);
  }
  RecordFeeder feeder(&report, "Fuzz", std::nullopt);
  for (size_t i = 1; i < lines.size(); ++i) feeder.Line(lines[i]);
  feeder.Finish();
  return 0;
}
