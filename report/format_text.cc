// The fixed-width text format.
#include <cinttypes>

#include "report/report_cells.h"
#include "report/report_format.h"
#include "report/text_line.h"
#include "report/time_text.h"
#include "util/clock.h"

namespace {

void Open(Report* report) { WriteCgiHeaderLine(report, "Content-Type: text/plain;\n"); }

void Header(Report* report, const ReportSection& section) {
  const uint32_t now = static_cast<uint32_t>(CurrentTime());
  FILE* out = report->output;
  if (out == nullptr) return;
  fputs("\n", out);
  fputs("             System: Calvaro\n", out);
  if (report->report_number != 0)
    fprintf(out, "          Report ID: %u\n", static_cast<unsigned>(report->report_number));
  fprintf(out, " Report Description: %s\n", section.title);
  if (section.notes != nullptr && section.notes[0] != '\0')
    fprintf(out, "       Report Notes: %s\n", section.notes);
  fprintf(out, "    Production Time: %s\n", FormatProductionTime(now));
  fprintf(out, "       Report Width: %" PRIu64 " bytes\n", report->line_width);
  if (report->hidden_width != 0)
    fprintf(out, "      Report Hidden: %" PRIu64 " bytes\n", report->hidden_width);
  fputs("\n", out);
  if (section.callback != nullptr) {
    section.callback(report);
    fputs("\n", out);
  }
  std::string_view names[kReportMaxColumns];
  for (uint32_t i = 0; i < report->column_count; ++i) names[i] = report->columns[i].name;
  WriteTextLine(report, names);
  WriteTextUnderline(report);
}

void Record(Report* report, const ReportRecord& record) {
  std::string_view texts[kReportMaxColumns];
  char numbers[kReportMaxColumns][kNumericCellBuffer];
  for (uint32_t i = 0; i < report->column_count; ++i) {
    if (record.value[i] == nullptr) continue;
    const uint32_t flags = report->columns[i].flags;
    texts[i] = (flags & ReportColumnFlag::Numeric)
                   ? NumericCellText(record.value[i], record.length[i], flags, numbers[i])
                   : std::string_view(record.value[i], record.length[i]);
  }
  WriteTextLine(report, texts);
}

void Underline(Report* report) { WriteTextUnderline(report); }

}  // namespace

const ReportFormatOps kTextFormatOps = {
    .Prepare = nullptr,
    .Borrow = nullptr,
    .Release = nullptr,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = Underline,
    .Separator = Underline,
    .Banner = nullptr,
    .Close = nullptr,
};
