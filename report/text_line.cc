#include "report/text_line.h"

#include <cstring>

namespace {

enum class Fill { kTexts, kDashes };

void BuildAndWrite(Report* report, const std::string_view* texts, Fill fill) {
  if (report->output == nullptr) return;
  const uint32_t count = report->column_count;
  // Widths are the caller's numbers: keep every sum bounded by the buffer so that
  // an oversized column can only cut the line, never reach past it.
  constexpr uint64_t kMaxLine = kReportLineBuffer - 1;
  uint64_t hidden_total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (column.flags & ReportColumnFlag::Hidden)
      hidden_total += column.width >= kMaxLine ? kMaxLine + 1 : column.width + 1;
  }
  uint64_t length = report->line_width > hidden_total ? report->line_width - hidden_total : 0;
  if (length > kMaxLine) length = kMaxLine;
  char* line = report->line;
  memset(line, ' ', length);

  uint64_t shift = 0;  // width + 1 of the hidden columns so far
  for (uint32_t i = 0; i < count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (column.flags & ReportColumnFlag::Hidden) {
      shift += column.width >= kMaxLine ? kMaxLine + 1 : column.width + 1;
      continue;
    }
    if (column.offset < shift) continue;
    uint64_t start = column.offset - shift;
    if (start >= length) continue;
    uint64_t room = length - start;
    if (fill == Fill::kDashes) {
      memset(line + start, '-', column.width < room ? column.width : room);
      continue;
    }
    std::string_view text = texts[i];
    uint64_t shown = text.size() < column.width ? text.size() : column.width;
    if (shown == 0) continue;
    uint64_t position = start;
    if ((column.flags & ReportColumnFlag::RightAlign) && shown < column.width)
      position = start + (column.width - shown);
    if (position >= length) continue;
    uint64_t copy = shown < length - position ? shown : length - position;
    memcpy(line + position, text.data(), copy);
  }
  line[length] = '\n';
  fwrite(line, 1, length + 1, report->output);
}

}  // namespace

void WriteTextLine(Report* report, const std::string_view* texts) {
  BuildAndWrite(report, texts, Fill::kTexts);
}

void WriteTextUnderline(Report* report) { BuildAndWrite(report, nullptr, Fill::kDashes); }
