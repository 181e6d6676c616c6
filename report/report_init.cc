// InitReport: the report's configuration from the environment or the CGI request.
#include <cstdlib>
#include <cstring>
#include <new>

#include "report/cgi_request.h"
#include "report/report.h"
#include "report/report_format.h"
#include "util/clock.h"

namespace {

// The format named by the request's first "RPT" variable (any case).
ReportFormat FormatOfCgiRequest() {
  CgiRequest request = ReadCgiRequest([](const char* name) { return getenv(name); }, stdin);
  const std::string* name = FindFormValueNoCase(request, "RPT");
  return ReportFormatFromName(name != nullptr ? name->c_str() : nullptr);
}

}  // namespace

void InitReport(Report* report) {
  // Start from a cleared object; anything a previous use left behind is released.
  report->~Report();
  new (report) Report();
  PrepareFormatStates(report);
  report->creation_time = CurrentTime();
  report->output = stdout;

  if (getenv("REQUEST_URI") != nullptr) {
    report->state |= ReportState::CgiMode;
    report->format = FormatOfCgiRequest();
  } else {
    report->format = ReportFormatFromName(getenv("ZORMREPORTFORMAT"));
  }

  if (const char* list = getenv("ZORMREPORTCOLUMNDELETE")) {
    size_t length = strnlen(list, sizeof report->column_delete - 1);
    memcpy(report->column_delete, list, length);
    report->column_delete[length] = '\0';
  }
  if (report->format == ReportFormat::Csv && getenv("ZORMCSVNOHEADER") != nullptr)
    report->state |= ReportState::NoCsvHeading;
  if (report->format == ReportFormat::Html) {
    if (const char* logo = getenv("ZORMREPORTHTMLLOGO")) report->html_logo = logo;
  }
  ProgressPointInit(&report->progress, nullptr, nullptr, 30, "Main-Task");
}
