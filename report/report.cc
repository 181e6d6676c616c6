#include "report/report.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "report/report_cells.h"
#include "report/report_format.h"
#include "util/copy_cut.h"

namespace {

// The value of `prefix` followed by the report number as three digits
// (ZORMREPORTTITLE007), or null when that variable is not set.
const char* NumberedVariable(const char* prefix, uint16_t number) {
  char name[64];
  snprintf(name, sizeof name, "%s%3.3u", prefix, static_cast<unsigned>(number));
  return getenv(name);
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

// A piece of the deletion list: its leading decimal digits, 0 when it has none.
unsigned ColumnNumberOf(const char* piece, size_t length) {
  size_t i = 0;
  while (i < length && piece[i] == ' ') ++i;
  unsigned number = 0;
  for (; i < length && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    number = number * 10 + (piece[i] - '0');
    if (number > 1000) return 0;  // far beyond any column
  }
  return number;
}

}  // namespace

void ResetReportCounters(Report* report) {
  report->record_counter = 0;
  report->line_in_page = 0;
  if (report->parent != nullptr) {
    report->parent->record_counter = 0;
    report->parent->line_in_page = 0;
  }
}

void WriteCgiHeaderLine(const Report* report, const char* text) {
  if (report->state & ReportState::CgiMode) fprintf(stdout, "%s\r\n", text);
}

Report::Report() = default;

Report::~Report() { ReleaseAll(); }

void Report::ReleaseAll() {
  ReleaseFormatStates(this);
  last_title.reset();
  notes.reset();
  html_logo.clear();
}

uint64_t Report::AddColumn(uint64_t width, const char* name, uint32_t flags) {
  if (column_count >= kReportMaxColumns) return width + 1;
  ReportColumn& column = columns[column_count++];
  column.width = width;
  column.offset = line_width;
  column.flags = flags;
  column.pdf_x = column.pdf_width = 0;
  CopyCut(column.name, sizeof column.name, name != nullptr ? name : "");
  line_width = SaturatingAdd(line_width, SaturatingAdd(width, 1));
  return width + 1;
}

void Report::AddRecord(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  VAddRecord(format, arguments);
  va_end(arguments);
}

void Report::VAddRecord(const char* format, va_list arguments) {
  char text[kReportMaxRecord + 1];
  text[0] = '\0';
  if (format != nullptr && strcmp(format, "%s") == 0) {
    // The common case of a record passed whole, without printf's machinery.
    const char* whole = va_arg(arguments, const char*);
    if (whole == nullptr) whole = "(null)";
    CopyCut(text, sizeof text, whole);
  } else if (format != nullptr) {
    vsnprintf(text, sizeof text, format, arguments);
  }
  if (progress.tick != nullptr) progress.tick(&progress);
  record_counter++;
  const ReportFormatOps* ops = FindReportFormatOps(this->format);
  if (ops == nullptr || ops->Record == nullptr) return;
  ReportRecord record;
  SplitReportRecord(text, column_count, &record);
  ops->Record(this, record);
}

void Report::Header(ReportHeaderCallback callback, const char* title, const char* notes_format,
                    ...) {
  va_list arguments;
  va_start(arguments, notes_format);
  VHeader(callback, title, notes_format, arguments);
  va_end(arguments);
}

void Report::VHeader(ReportHeaderCallback callback, const char* title, const char* notes_format,
                     va_list arguments) {
  if (!(state & ReportState::HeadingSetUp)) SetUp();
  std::string title_used = title_override[0] != '\0' ? title_override : (title ? title : "");
  const Report* document_owner = parent != nullptr ? parent : this;
  bool title_is_new =
      !document_owner->last_title.has_value() || *document_owner->last_title != title_used;
  last_title = title_used;
  if (notes_format != nullptr) {
    char text[kReportLineBuffer];
    vsnprintf(text, sizeof text, notes_format, arguments);
    notes = text;
  }
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (ops == nullptr || ops->Header == nullptr) return;
  ReportSection section{callback, last_title->c_str(),
                        notes_format != nullptr ? notes->c_str() : nullptr, title_is_new};
  ops->Header(this, section);
}

void Report::SetUp() {
  if (report_number != 0) {
    if (const char* list = NumberedVariable("ZORMREPORTCOLUMNDELETE", report_number))
      CopyCut(column_delete, sizeof column_delete, list);
  }
  if (column_delete[0] != '\0') {
    hidden_width = 0;
    const char* piece = column_delete;
    while (true) {
      const char* comma = strchr(piece, ',');
      size_t length = comma != nullptr ? static_cast<size_t>(comma - piece) : strlen(piece);
      unsigned n = ColumnNumberOf(piece, length);
      // The last of 32 columns cannot be deleted.
      if (n >= 1 && n <= kReportMaxColumns - 1) {
        columns[n - 1].flags |= ReportColumnFlag::Hidden;
        hidden_width = SaturatingAdd(hidden_width, columns[n - 1].width);
      }
      if (comma == nullptr) break;
      piece = comma + 1;
    }
  }

  // A child report draws into its parent's document.
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (parent != this && parent != nullptr && ops != nullptr && ops->Borrow != nullptr)
    ops->Borrow(this);
  if (ops != nullptr && ops->Open != nullptr) ops->Open(this);

  if (report_number != 0) {
    if (const char* title = NumberedVariable("ZORMREPORTTITLE", report_number))
      CopyCut(title_override, sizeof title_override, title);
    if (NumberedVariable("ZORMDROPREPORT", report_number) != nullptr) {
      state |= ReportState::Dropped;
      format = ReportFormat::Dropped;
    }
  }
  state |= ReportState::HeadingSetUp;
}

void Report::Trailer() {
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (ops != nullptr && ops->Trailer != nullptr) ops->Trailer(this);
}

void Report::Separator() {
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (ops != nullptr && ops->Separator != nullptr) ops->Separator(this);
}

void Report::ResetCounters() { ResetReportCounters(this); }

void Report::PdfBanner(const char* text) {
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (ops != nullptr && ops->Banner != nullptr) ops->Banner(this, text != nullptr ? text : "");
}

void Report::Close() {
  const ReportFormatOps* ops = FindReportFormatOps(format);
  if (ops != nullptr && ops->Close != nullptr) ops->Close(this);
  CloseOtherDocuments(this);
  ReleaseAll();
}
