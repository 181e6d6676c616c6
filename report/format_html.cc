// The HTML format: a heading table per section and a table of the records.
#include <string>

#include "report/html_escape.h"
#include "report/report_cells.h"
#include "report/report_format.h"
#include "report/time_text.h"
#include "util/clock.h"

namespace {

void Open(Report* report) {
  WriteCgiHeaderLine(report, "Content-Type: text/html;\n");
  if ((report->state & ReportState::CgiMode) && report->output != nullptr)
    fputs("<html><body>", report->output);
}

void Header(Report* report, const ReportSection& section) {
  const uint32_t now = static_cast<uint32_t>(CurrentTime());
  FILE* out = report->output;
  if (out == nullptr) return;
  char logo[300];
  if (!report->html_logo.empty()) {
    snprintf(logo, sizeof logo,
             "<img src=\"%s\" alt=\"Report Logo\" style=\"width:237px;height:59px;border:0;\">",
             report->html_logo.c_str());
  } else {
    snprintf(logo, sizeof logo, "<h1>Report</h1>");
  }
  fprintf(out,
          "<table width=\"100%%\"><tr><td width=\"20%%\" bgcolor=\"#ffffff\">%s</td><td "
          "width=\"80%%\" bgcolor=\"#0A4169\"><font size=\"6\" color=\"#fff\">&nbsp; %s</td>",
          logo, section.title);
  fprintf(out,
          "<tr><td width = \"20%%\" bgcolor=\"#ffffff\"></td><td width = \"80%%\" "
          "bgcolor=\"#ffffff\">Production Time: %s</td>",
          FormatProductionTime(now));
  if (section.notes != nullptr && section.notes[0] != '\0') {
    fprintf(out,
            "</tr><tr>\n<td width=\"20%%\" bgcolor=\"#ffffff\"></td><td width=\"80%%\" "
            "bgcolor=\"#ffffff\">Report Notes: %s</td></tr>",
            section.notes);
  }
  fputs("</tr></table>", out);
  fputs("<table><tr bgcolor=\"#EEEEEE\">", out);
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (!(column.flags & ReportColumnFlag::Hidden)) fprintf(out, "<th>%s</th>", column.name);
  }
  fputs("</tr>", out);
}

void Record(Report* report, const ReportRecord& record) {
  if (report->output == nullptr) return;
  std::string row = "<tr>";
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (record.value[i] == nullptr || (column.flags & ReportColumnFlag::Hidden)) continue;
    char escaped[kHtmlEscapeBuffer];
    row += (column.flags & ReportColumnFlag::RightAlign) ? "<td align=\"right\">" : "<td>";
    row += "<tt>";
    row += EscapeHtmlValue(TrimReportValue(record.value[i], record.length[i]), escaped);
    row += "</tt></td>";
  }
  row += "</tr>";
  fwrite(row.data(), 1, row.size(), report->output);
}

void Trailer(Report* report) {
  if (report->output != nullptr) fputs("</table><p></p>", report->output);
}

void Close(Report* report) {
  if (report->output != nullptr) fputs("</body><html>", report->output);
}

}  // namespace

const ReportFormatOps kHtmlFormatOps = {
    .Prepare = nullptr,
    .Borrow = nullptr,
    .Release = nullptr,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = Trailer,
    .Separator = ResetReportCounters,
    .Banner = nullptr,
    .Close = Close,
};
