// The text and JSON exports: the selected rows handed to the report writer as a
// report of the exported columns, rendered into the file.
#include "listctrl/export/export_file.h"
#include "listctrl/export/export_report.h"
#include "listctrl/export/export_save_dialog.h"
#include "listctrl/zorm_list_ctrl.h"
#include "report/report.h"

namespace {

struct ReportExport {
  const char* type_name;  // as FinishExport and the progress dialog show it
  const char* extension;
  const char* filter;
  bool json;
};

constexpr ReportExport kText = {"Text", "txt", "Text File (*.txt)|*.txt|", false};
constexpr ReportExport kJson = {"JSON", "json", "JSON File (*.json)|*.json|", true};

bool WriteReportExport(CZORMListCtrl& list, const ReportExport& kind, const std::string& title,
                       std::string path, ExportAction action) {
  if (list.GetColumnCount() < 1 || list.GetItemCount() < 1) return false;
  if (path.empty()) path = AskExportPath(list, kind.extension, kind.filter);
  if (path.empty()) return false;

  Report report;
  InitReport(&report);
  if (kind.json) report.format = ReportFormat::Json;
  ExportFile file(&list);
  if (!file.Open(path)) {
    // Close only releases the report: without a stream it prints nothing.
    report.output = nullptr;
    report.Close();
    return false;
  }
  report.output = file.stream();

  const std::vector<uint32_t> widths = StartListReport(list, &report, title, false);
  const std::vector<long> rows = list.GetSelectedRows();
  if (!AddListRecords(list, &report, widths, rows, kind.type_name)) {
    report.output = nullptr;
    report.Close();
    return false;
  }
  report.Trailer();
  // Closing the report may still write (the JSON document), so before Commit.
  report.Close();
  if (!report.file_error.empty()) {
    ShowWriteOutputFailed(&list, report.file_error);
    return false;
  }
  if (!file.Commit()) return false;
  list.FinishExport(kind.type_name, unsigned(rows.size()), path, action);
  return true;
}

}  // namespace

bool CZORMListCtrl::ExportText(std::string title, std::string path, ExportAction action) {
  return WriteReportExport(*this, kText, title, std::move(path), action);
}

bool CZORMListCtrl::ExportJSON(std::string title, std::string path, ExportAction action) {
  return WriteReportExport(*this, kJson, title, std::move(path), action);
}
