// The interface between the report object and its output formats. Each format is
// one `ReportFormatOps` with the operations it needs (a null slot does nothing);
// report/format_table.cc maps format numbers to them. See report/report.h for when
// each operation is called.
#pragma once

#include <cstdint>

#include "report/report.h"

// One section heading, as Header hands it to the format.
struct ReportSection {
  ReportHeaderCallback callback;  // or null
  const char* title;              // the title used (override or argument)
  const char* notes;              // formatted notes; null when no notes format was given
  bool title_is_new;              // differs from the parent's title before this Header
};

// One record, split at '|' and matched to the columns in order (hidden columns
// included). value[i] is null for a column that received no value; the texts are
// untrimmed and end in a zero byte.
struct ReportRecord {
  const char* value[kReportMaxColumns];
  uint32_t length[kReportMaxColumns];
};

struct ReportFormatOps {
  // The format's own state, held by the report: made by InitReport (Prepare),
  // taken from the parent by a child report at its first Header (Borrow, for a
  // format whose document a child draws into), and freed when the report is
  // closed or destroyed (Release, which leaves a borrowed document to its owner).
  void (*Prepare)(Report* report);
  void (*Borrow)(Report* report);
  void (*Release)(Report* report);
  void (*Open)(Report* report);
  void (*Header)(Report* report, const ReportSection& section);
  void (*Record)(Report* report, const ReportRecord& record);
  void (*Trailer)(Report* report);
  void (*Separator)(Report* report);
  void (*Banner)(Report* report, const char* text);
  void (*Close)(Report* report);
};

// The operations of a format, or null for numbers that write nothing.
const ReportFormatOps* FindReportFormatOps(ReportFormat format);

// Borrow and Release for a format whose document is the report's `member`
// (Report::pdf, Report::workbook), marked borrowed by the state bit `borrowed`.
template <typename State>
void BorrowParentDocument(Report* report, State* Report::*member, uint32_t borrowed) {
  Report* parent = report->parent;
  if (parent->*member == nullptr) return;
  if (!(report->state & borrowed)) delete (report->*member);
  report->*member = parent->*member;
  report->state |= borrowed;
}
template <typename State>
void ReleaseDocument(Report* report, State* Report::*member, uint32_t borrowed) {
  if (!(report->state & borrowed)) delete (report->*member);
  report->*member = nullptr;
  report->state &= ~borrowed;
}

// Runs Prepare, and Release, of every format.
void PrepareFormatStates(Report* report);
void ReleaseFormatStates(Report* report);

// Runs Close of the formats that keep a document of their own other than the
// report's current format, so that a document opened before the report was
// dropped (or its format changed) is still finished. Each such Close checks
// whether the report owns an open document.
void CloseOtherDocuments(Report* report);

extern const ReportFormatOps kTextFormatOps;
extern const ReportFormatOps kCsvFormatOps;
extern const ReportFormatOps kHtmlFormatOps;
extern const ReportFormatOps kJsonFormatOps;
extern const ReportFormatOps kExcelFormatOps;
extern const ReportFormatOps kPdfFormatOps;

// Sets the record counter and line in page of the report and of its parent to 0.
void ResetReportCounters(Report* report);

// In CGI mode, writes `text` followed by "\r\n" to standard output (a text that
// ends in "\n" thus ends the header block too). Outside CGI mode nothing.
void WriteCgiHeaderLine(const Report* report, const char* text);
