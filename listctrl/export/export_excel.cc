// The workbook export: every column, the header texts in row 0 and the selected
// rows below, each cell a text, on one sheet named "Export".
#include <string>

#include "listctrl/export/export_file.h"
#include "listctrl/export/export_progress.h"
#include "listctrl/export/export_save_dialog.h"
#include "listctrl/zorm_list_ctrl.h"
#include "report/workbook.h"

void CZORMListCtrl::ExportExcel(ExportAction action) {
  if (GetColumnCount() < 1 || GetItemCount() == 0) return;
  const std::string path = AskExportPath(*this, "xlsx", "Microsoft Excel File (*.xlsx)|*.xlsx|");
  if (path.empty()) return;
  const unsigned records = unsigned(GetSelectedItemCount());
  if (WriteExcelFile(path)) FinishExport("XLSX", records, path, action);
}

bool CZORMListCtrl::WriteExcelFile(const std::string& path) {
  ExportFile file(this);
  if (!file.Open(path)) return false;
  std::string error;
  std::unique_ptr<Workbook> book = Workbook::Create(&error);
  if (book == nullptr) {
    ShowWriteOutputFailed(this, error);
    return false;
  }
  // Cells are written as texts even when they look like numbers: "12.5" or a
  // part number with leading zeros stays exactly what the list shows.
  WorkbookSheet* sheet = book->AddSheet("Export");
  const int columns = GetColumnCount();
  bool written = sheet != nullptr;
  for (int column = 0; written && column < columns; ++column)
    written = book->WriteStr(sheet, 0, uint32_t(column), GetColumnHeaderText(column));
  const std::vector<long> rows = GetSelectedRows();
  ExportProgress progress(this, "XLSX", rows.size());
  for (size_t i = 0; written && i < rows.size(); ++i) {
    for (int column = 0; written && column < columns; ++column)
      written = book->WriteStr(sheet, uint32_t(i + 1), uint32_t(column),
                               GetExportCellText(rows[i], column));
    if (!progress.Step(i + 1)) return false;
  }
  if (!written || !book->Save(file.write_path().c_str())) {
    ShowWriteOutputFailed(this, book->ErrorMessage());
    return false;
  }
  return file.Commit();
}
