#include "report/report_format.h"

const ReportFormatOps* FindReportFormatOps(ReportFormat format) {
  switch (format) {
    case ReportFormat::Text:
      return &kTextFormatOps;
    case ReportFormat::Csv:
      return &kCsvFormatOps;
    case ReportFormat::Html:
      return &kHtmlFormatOps;
    case ReportFormat::Json:
      return &kJsonFormatOps;
    case ReportFormat::Excel:
      return &kExcelFormatOps;
    case ReportFormat::Pdf:
      return &kPdfFormatOps;
    case ReportFormat::Dropped:
      return nullptr;
  }
  return nullptr;  // numbers outside the table write nothing
}
