// The CSV export: the header line as the headers read, then one line per selected
// row, lines separated by CR LF with none after the last.
#include <cstdio>

#include "listctrl/export/export_encoding.h"
#include "listctrl/export/export_file.h"
#include "listctrl/export/export_progress.h"
#include "listctrl/export/export_save_dialog.h"
#include "listctrl/zorm_list_ctrl.h"

void CZORMListCtrl::ExportCSV(ExportAction action) {
  if (GetColumnCount() < 1 || GetItemCount() < 1) return;
  const std::string path = AskExportPath(*this, "csv", "CSV File (*.csv)|*.csv|");
  if (path.empty() || !WriteCSVFile(path)) return;
  FinishExport("CSV", unsigned(GetSelectedRows().size()), path, action);
}

bool CZORMListCtrl::WriteCSVFile(const std::string& path) {
  const int columns = GetColumnCount();
  if (columns < 1 || GetItemCount() < 1) return false;
  ExportFile file(this);
  if (!file.Open(path)) return false;
  // Every column: the exclusion set is for the report-based exports only. The
  // header texts go out as they are.
  std::string line;
  for (int column = 0; column < columns; ++column) {
    if (column > 0) line += ',';
    line += GetColumnHeaderText(column);
  }
  fwrite(line.data(), 1, line.size(), file.stream());

  const std::vector<long> rows = GetSelectedRows();
  ExportProgress progress(this, "CSV", rows.size());
  for (size_t done = 0; done < rows.size(); ++done) {
    line.assign("\r\n");
    for (int column = 0; column < columns; ++column) {
      if (column > 0) line += ',';
      AppendCsvField(&line, GetExportCellText(rows[done], column));
    }
    fwrite(line.data(), 1, line.size(), file.stream());
    if (!progress.Step(done + 1)) return false;
  }
  return file.Commit();
}
