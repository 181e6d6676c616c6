// The Excel format: a workbook with a sheet per section, saved to a file or, in CGI
// mode, sent as the response body. The workbook layer (report/workbook.h) streams
// each sheet's rows, so memory stays flat however long the report is.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "report/report_cells.h"
#include "report/report_format.h"
#include "report/time_text.h"
#include "report/workbook_state.h"
#include "util/copy_cut.h"

namespace {

constexpr char kContentType[] =
    "Content-type: application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

void Open(Report* report) {
  WorkbookState* state = report->workbook;
  if (state == nullptr) return;
  if (!(report->state & ReportState::WorkbookBorrowed)) {
    if (const char* path = getenv("ZORMEXCELOUTPUTPATH")) {
      // A path cut to fit would name another file.
      if (strlen(path) < sizeof state->path) {
        strcpy(state->path, path);
      } else {
        state->path[0] = '\0';
        report->file_error = "the workbook path is longer than " +
                             std::to_string(sizeof state->path - 1) + " characters: " + path;
      }
    } else if (state->path[0] == '\0') {
      snprintf(state->path, sizeof state->path, "Sheet-%s.xlsx",
               FormatFileStamp(report->creation_time));
    }
    // Without a book there is nothing to send either: no header lines.
    std::string error;
    state->book = Workbook::Create(&error);
    if (state->book == nullptr) {
      if (report->file_error.empty()) report->file_error = error;
      return;
    }
  }
  WriteCgiHeaderLine(report, kContentType);
  char disposition[kReportMaxPath + 64];
  snprintf(disposition, sizeof disposition, "Content-disposition: attachment; filename=\"%s\"",
           state->path);
  WriteCgiHeaderLine(report, disposition);
}

void Header(Report* report, const ReportSection&) {
  WorkbookState* state = report->workbook;
  if (state == nullptr || state->book == nullptr) return;
  Workbook& book = *state->book;
  // The numbers need not differ, only the names within the book: draw again
  // while the name is taken.
  char name[512];
  for (int attempt = 0; attempt < 1000; ++attempt) {
    snprintf(name, sizeof name, "Report %u %u", static_cast<unsigned>(report->report_number),
             static_cast<unsigned>(rand()));
    if (!book.HasSheet(name)) break;
  }
  state->sheet = book.AddSheet(name);
  state->cell_failure_told = false;
  if (state->sheet == nullptr) {
    fprintf(stdout, "xlBookAddSheet: %s\n", book.ErrorMessage());
    return;
  }
  uint32_t sheet_column = 0;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (column.flags & ReportColumnFlag::Hidden) continue;
    book.WriteStr(state->sheet, 0, sheet_column++, column.name);
  }
}

void Record(Report* report, const ReportRecord& record) {
  WorkbookState* state = report->workbook;
  if (state == nullptr || state->book == nullptr || state->sheet == nullptr) return;
  Workbook& book = *state->book;
  // A record goes to the row of the record counter. The sheet is written in row
  // order, so a counter that points back into rows already written (records after
  // Separator or ResetCounters without a new Header, or a parent and a child report
  // taking turns on the shared sheet) continues after the last row instead: the
  // record is kept, and no earlier one is overwritten.
  uint32_t row = report->record_counter;
  if (row < book.FirstFreeRow(state->sheet)) row = book.FirstFreeRow(state->sheet);
  uint32_t sheet_column = 0;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (column.flags & ReportColumnFlag::Hidden) continue;
    const char* value = record.value[i];
    uint32_t k = sheet_column++;
    if (value == nullptr) continue;
    bool written;
    if (column.flags & ReportColumnFlag::Numeric) {
      written = book.WriteNum(state->sheet, row, k,
                              static_cast<double>(ReadLeadingInteger(value, record.length[i])));
    } else {
      written = book.WriteStr(state->sheet, row, k, TrimReportValue(value, record.length[i]));
    }
    // Once per sheet: a full sheet would otherwise repeat this for every record.
    if (!written && !state->cell_failure_told) {
      fprintf(stderr, "xlSheetWrite: row %u: %s\n", row, book.ErrorMessage());
      state->cell_failure_told = true;
    }
  }
}

void Separator(Report* report) { ResetReportCounters(report); }

void Prepare(Report* report) { report->workbook = new WorkbookState(); }

void Borrow(Report* report) {
  BorrowParentDocument(report, &Report::workbook, ReportState::WorkbookBorrowed);
}

void Release(Report* report) {
  ReleaseDocument(report, &Report::workbook, ReportState::WorkbookBorrowed);
}

void Close(Report* report) {
  // Only the report that owns the book saves and releases it; a borrowed state may
  // already be gone with its parent, so it is not even looked at.
  if (report->state & ReportState::WorkbookBorrowed) return;
  WorkbookState* state = report->workbook;
  if (state == nullptr || state->book == nullptr) return;
  // A caller without an output stream closes only to release the report.
  if (report->output != nullptr) {
    Workbook& book = *state->book;
    if (!(report->state & ReportState::CgiMode)) {
      if (state->path[0] != '\0' && !book.Save(state->path)) {
        fprintf(stderr, "xlBookSave: %s\n", book.ErrorMessage());
        report->file_error = book.ErrorMessage();
      }
    } else {
      const char* data = nullptr;
      uint32_t size = 0;
      if (book.SaveRaw(&data, &size)) {
        fprintf(stdout, "Content-Length: %u\n\r\n", size);
        fwrite(data, 1, size, stdout);  // standard output is binary on this platform
        fflush(stdout);
      } else {
        fprintf(stderr, "xlBookSaveRaw: %s\n", book.ErrorMessage());
      }
    }
  }
  state->book.reset();
  state->sheet = nullptr;
}

}  // namespace

const ReportFormatOps kExcelFormatOps = {
    .Prepare = Prepare,
    .Borrow = Borrow,
    .Release = Release,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = nullptr,
    .Separator = Separator,
    .Banner = nullptr,
    .Close = Close,
};
