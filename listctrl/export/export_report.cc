#include "listctrl/export/export_report.h"

#include "listctrl/export/export_progress.h"
#include "listctrl/zorm_list_ctrl.h"
#include "report/report.h"

std::vector<uint32_t> StartListReport(CZORMListCtrl& list, Report* report,
                                      const std::string& title, bool with_flags) {
  std::vector<uint32_t> widths;
  std::vector<std::string> names;
  list.GetExportColumns(&widths, &names);
  for (size_t column = 0; column < widths.size(); ++column) {
    if (widths[column] == kExportColumnExcluded) continue;
    const uint32_t flags =
        with_flags ? list.GetColumnReportFlags(unsigned(list.GetColumnIndexFromOrder(int(column))))
                   : 0;
    report->AddColumn(widths[column], names[column].c_str(), flags);
  }
  if (list.GetReportTitle().empty()) list.SetReportTitle(title);
  report->Header(nullptr, list.GetReportTitle().c_str(), "%s", list.GetReportNotes().c_str());
  return widths;
}

bool AddListRecords(CZORMListCtrl& list, Report* report, const std::vector<uint32_t>& widths,
                    const std::vector<long>& rows, const char* type_name) {
  ExportProgress progress(&list, type_name, rows.size());
  std::string record;
  for (size_t done = 0; done < rows.size(); ++done) {
    record.clear();
    // " |" keeps an empty cell a value of its own: the report joins runs of bars.
    for (size_t column = 0; column < widths.size(); ++column) {
      if (widths[column] == kExportColumnExcluded) continue;
      record += list.GetExportCellText(rows[done], int(column));
      record += " |";
    }
    report->AddRecord("%s", record.c_str());
    if (!progress.Step(done + 1)) return false;
  }
  return true;
}
