// The report writer: a short sequence of calls (declare the columns, start a section
// with a title and notes, add records, end the section, close) renders a tabular
// report as fixed-width text, CSV, HTML, JSON, PDF or a workbook, chosen at run time
// by the environment (ZORMREPORTFORMAT, ...) or, when the program runs as a CGI
// program, by the request's "RPT" variable.
//
// The caller owns the storage of a `Report` (usually a local object), prepares it
// with InitReport, and calls the member functions below, which are the report's
// operation table in slot order: AddColumn, AddRecord, Close, Header, Trailer,
// Separator, ResetCounters, SetPdfOrientation, SetPdfPageSize, SetPdfOutputPath,
// SetPdfLogo, PdfBanner. Order of use: InitReport; optional settings (output
// stream, format, deletion list, parent, report number, PDF settings); AddColumn per
// column; then sections of Header, AddRecord..., Trailer; finally Close. Close
// releases everything the object holds; InitReport may then prepare it again.
//
// How a format plugs in. Every format is one set of operations, `ReportFormatOps`
// (report/report_format.h), looked up by format number in report/format_table.cc.
// The common work stays here: counting and splitting records, column deletion,
// title override, dropping, borrowing a parent's PDF or workbook state. A format
// receives:
//   Prepare    at InitReport: makes the state it keeps in the report, if any.
//   Borrow     at a child report's first Header: takes the parent's document.
//   Release    when the report is closed or destroyed: frees its state, leaving a
//              borrowed document to the parent.
//   Open       once, at the first Header, after column deletion: CGI header lines,
//              opening its document (for PDF: after a child took the parent's state).
//   Header     per section, with the title used and the formatted notes.
//   Record     per record, with the values split and matched to the columns.
//   Trailer, Separator, Banner   as named; counters are reset by the format where
//              its output needs it (ResetReportCounters).
//   Close      at Close. The document formats (Pdf, Excel) get their Close for every
//              report whatever its format, so that a document opened before the
//              report was dropped is still finished; they must check whether the
//              report owns an open document.
// The PDF and workbook formats keep their document in `PdfState` and
// `WorkbookState` (report/pdf_state.h, report/workbook_state.h), which only their
// own files know; the report holds them as opaque pointers. The PDF settings below
// are the PDF format's operations and live in its file.
//
// Threads: a Report is used by one thread, and only one report is rendered at a
// time in the whole program (the time texts are static buffers).
//
// Limits the caller must respect, and what happens beyond them (never more than
// that: no memory is read or written outside the object's fields):
//   - 32 columns: further AddColumn calls are ignored (they return width + 1 but
//     declare nothing).
//   - column names of 127 characters: longer names are cut.
//   - records of 1023 characters after formatting: longer records are cut.
//   - text lines below 2048 characters (line width): a text line is cut after 2047
//     characters; columns that start beyond are not shown.
//   - paths of 260 characters: a longer path is ignored and the setting stays as it
//     was.
//   - the deletion list keeps its first 127 characters, the title override 131.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "util/progress_point.h"

struct PdfState;       // report/pdf_state.h
struct WorkbookState;  // report/workbook_state.h
struct ReportJsonDocument;  // the JSON format's streaming state (format_json.cc)

// Output formats, with the numbers a caller may store in Report::format. Any other
// number (1 among them) writes no report output.
enum class ReportFormat : uint32_t {
  Text = 0,
  Csv = 2,
  Html = 3,
  Pdf = 4,
  Excel = 5,
  Json = 6,
  Dropped = 100,  // the report writes nothing more
};

// Column flags (bit values, combinable).
namespace ReportColumnFlag {
constexpr uint32_t RightAlign = 1;   // right-aligned in text, HTML and PDF
constexpr uint32_t Numeric = 2;      // text, PDF: integer with thousands separators
constexpr uint32_t Hidden = 4;       // left out of every format (column deletion)
constexpr uint32_t Tags = 16;        // PDF: bracketed words drawn as boxes
constexpr uint32_t Fixed = 32;       // PDF: fixed-pitch font
constexpr uint32_t PlainNumber = 64; // with Numeric: no separators, zero as a blank
}  // namespace ReportColumnFlag

// State bits of a Report.
namespace ReportState {
constexpr uint32_t HeadingSetUp = 1;
constexpr uint32_t NoCsvHeading = 2;
constexpr uint32_t Dropped = 8;
constexpr uint32_t PdfBorrowed = 16;
constexpr uint32_t WorkbookBorrowed = 32;
constexpr uint32_t CgiMode = 128;
}  // namespace ReportState

constexpr unsigned kReportMaxColumns = 32;
constexpr unsigned kReportMaxName = 127;
constexpr unsigned kReportMaxRecord = 1023;
constexpr unsigned kReportLineBuffer = 2048;
constexpr unsigned kReportMaxPath = 260;

struct ReportColumn {
  uint64_t width;    // characters
  uint64_t offset;   // position in a full text line: sum of width + 1 before it
  uint32_t flags;    // ReportColumnFlag bits
  float pdf_x;       // points, set when a PDF page starts
  float pdf_width;   // points
  char name[kReportMaxName + 1];
};

struct Report;
// Called by the text format's Header between the heading block and the column
// headings; it may write its own lines to report->output.
typedef void (*ReportHeaderCallback)(Report* report);

struct Report {
  Report();
  // Releases what Close would release, without writing anything, when the caller
  // did not call Close.
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // --- Operations (the operation table) ---

  // Appends a column (before the first Header). Returns width + 1.
  uint64_t AddColumn(uint64_t width, const char* name, uint32_t flags);
  // Formats a record of values separated by '|' (runs count as one, a leading one
  // is skipped) and renders it. Ticks the progress point and counts the record.
  void AddRecord(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void VAddRecord(const char* format, va_list arguments);
  // Finishes the output (HTML end, JSON document, PDF and workbook files) and
  // releases everything the object holds. With no output stream it writes nothing.
  void Close();
  // Starts a section. The first call sets the report up. `callback` is used by the
  // text format only, and not called when the report has no output stream;
  // `notes_format` null means no notes (an empty one: none in text and HTML).
  void Header(ReportHeaderCallback callback, const char* title, const char* notes_format, ...)
      __attribute__((format(printf, 4, 5)));
  void VHeader(ReportHeaderCallback callback, const char* title, const char* notes_format,
               va_list arguments);
  void Trailer();
  void Separator();
  // Sets the record counter and line in page of the report and its parent to 0.
  void ResetCounters();
  void SetPdfOrientation(uint32_t orientation);  // 0 portrait, 1 landscape
  void SetPdfPageSize(uint32_t page_size);
  void SetPdfOutputPath(const char* path);
  // Takes the path only when it names an existing regular file.
  void SetPdfLogo(const char* path);
  void PdfBanner(const char* text);

  // --- Fields ---

  uint32_t column_count = 0;
  uint64_t hidden_width = 0;  // widths of the deleted columns ("Report Hidden")
  uint64_t line_width = 0;    // sum of width + 1 over all columns ("Report Width")
  ReportFormat format = ReportFormat::Text;
  ReportJsonDocument* json = nullptr;   // the JSON document being written
  std::optional<std::string> last_title;  // title of the latest Header
  std::optional<std::string> notes;       // formatted notes of the latest Header
  std::string html_logo;                  // ZORMREPORTHTMLLOGO
  char line[kReportLineBuffer] = {};      // scratch for one text line
  ReportColumn columns[kReportMaxColumns] = {};
  char column_delete[128] = {};           // "3,4,8": 1-based columns to hide
  FILE* output = stdout;                  // the caller may set its own, or null
  PdfState* pdf = nullptr;                // owned, or the parent's when borrowed
  uint32_t pdf_save_result = 0;
  // Set when the PDF or workbook file could not be saved or its path was too
  // long: what failed, with the path and the reason. An earlier file stays.
  std::string file_error;
  WorkbookState* workbook = nullptr;      // owned, or the parent's when borrowed
  uint32_t record_counter = 0;            // 1 for the first record
  uint32_t page_number = 0;
  uint32_t line_in_page = 0;
  uint32_t lines_per_page = 0;
  int64_t creation_time = 0;
  Report* parent = this;
  uint16_t report_number = 0;             // 0: none
  char title_override[132] = {};
  ProgressPoint progress = {};
  uint32_t state = 0;                     // ReportState bits

 private:
  void SetUp();
  void ReleaseAll();
};

// Prepares the caller's report: clears it, reads the configuration from the
// environment (or, in CGI mode, the request) and allocates the PDF and workbook
// states. A report that was used before must have been closed.
void InitReport(Report* report);

// The format for a name ("text", "csv", "pdf", "html", "excel", "json", compared
// without regard to case); Text for null, empty and unknown names.
ReportFormat ReportFormatFromName(const char* name);
