// The CSV format: values as they are, each followed by a comma; no quoting.
#include <cstring>
#include <string>

#include "report/report_cells.h"
#include "report/report_format.h"

namespace {

void Open(Report* report) { WriteCgiHeaderLine(report, "Content-Type: text/plain;\n"); }

void Header(Report* report, const ReportSection&) {
  if (report->output == nullptr || (report->state & ReportState::NoCsvHeading)) return;
  std::string line;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (column.flags & ReportColumnFlag::Hidden) continue;
    line += column.name;
    line += ',';
  }
  line += '\n';
  fwrite(line.data(), 1, line.size(), report->output);
}

void Record(Report* report, const ReportRecord& record) {
  if (report->output == nullptr) return;
  // A record holds at most 1023 characters, and each column adds one comma.
  char line[kReportMaxRecord + kReportMaxColumns + 2];
  size_t used = 0;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    if (record.value[i] == nullptr || (report->columns[i].flags & ReportColumnFlag::Hidden))
      continue;
    std::string_view value = TrimReportValue(record.value[i], record.length[i]);
    memcpy(line + used, value.data(), value.size());
    used += value.size();
    line[used++] = ',';
  }
  line[used++] = '\n';
  fwrite(line, 1, used, report->output);
}

void EmptyLine(Report* report) {
  if (report->output != nullptr) fputs("\n", report->output);
}

}  // namespace

const ReportFormatOps kCsvFormatOps = {
    .Prepare = nullptr,
    .Borrow = nullptr,
    .Release = nullptr,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = EmptyLine,
    .Separator = EmptyLine,
    .Banner = nullptr,
    .Close = nullptr,
};
