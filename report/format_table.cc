// The table of output formats: each format's name (as ZORMREPORTFORMAT and the
// CGI request's RPT give it), its number and its operations. A new format is one
// file with its ReportFormatOps and one row here.
#include "report/report_format.h"
#include "util/string_compare.h"

namespace {

struct FormatEntry {
  const char* name;
  ReportFormat format;
  const ReportFormatOps* ops;
  // Writes a document of its own (a file, a workbook) that must be finished by
  // Close even when the report has since been dropped or changed its format.
  bool keeps_document;
};
// Names are looked up in this order; the first equal name wins.
constexpr FormatEntry kFormats[] = {
    {"text", ReportFormat::Text, &kTextFormatOps, false},
    {"csv", ReportFormat::Csv, &kCsvFormatOps, false},
    {"pdf", ReportFormat::Pdf, &kPdfFormatOps, true},
    {"html", ReportFormat::Html, &kHtmlFormatOps, false},
    {"excel", ReportFormat::Excel, &kExcelFormatOps, true},
    {"json", ReportFormat::Json, &kJsonFormatOps, false},
};

}  // namespace

const ReportFormatOps* FindReportFormatOps(ReportFormat format) {
  for (const FormatEntry& entry : kFormats)
    if (entry.format == format) return entry.ops;
  return nullptr;  // Dropped and numbers outside the table write nothing
}

void PrepareFormatStates(Report* report) {
  for (const FormatEntry& entry : kFormats)
    if (entry.ops->Prepare != nullptr) entry.ops->Prepare(report);
}

void ReleaseFormatStates(Report* report) {
  for (const FormatEntry& entry : kFormats)
    if (entry.ops->Release != nullptr) entry.ops->Release(report);
}

void CloseOtherDocuments(Report* report) {
  for (const FormatEntry& entry : kFormats)
    if (entry.keeps_document && entry.format != report->format && entry.ops->Close != nullptr)
      entry.ops->Close(report);
}

ReportFormat ReportFormatFromName(const char* name) {
  if (name == nullptr || name[0] == '\0') return ReportFormat::Text;
  for (const FormatEntry& entry : kFormats)
    if (StringsEqualNoCase(name, entry.name)) return entry.format;
  return ReportFormat::Text;
}
