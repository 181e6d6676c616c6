// The XML export: an ISO-8859-1 document of one <record> per selected row, each
// holding a <field> per column named by its header (export_encoding.h).
#include <cstdio>

#include "listctrl/export/export_encoding.h"
#include "listctrl/export/export_file.h"
#include "listctrl/export/export_progress.h"
#include "listctrl/export/export_save_dialog.h"
#include "listctrl/zorm_list_ctrl.h"

void CZORMListCtrl::ExportXML(ExportAction action) {
  if (GetColumnCount() < 1 || GetItemCount() < 1) return;
  const std::string path = AskExportPath(*this, "xml", "XML File (*.xml)|*.xml|");
  if (path.empty() || !WriteXMLFile(path)) return;
  FinishExport("XML", unsigned(GetSelectedRows().size()), path, action);
}

bool CZORMListCtrl::WriteXMLFile(const std::string& path) {
  const int columns = GetColumnCount();
  if (columns < 1 || GetItemCount() < 1) return false;
  ExportFile file(this);
  if (!file.Open(path)) return false;
  fputs(kXmlExportOpening, file.stream());
  std::vector<std::string> headers(static_cast<size_t>(columns));
  for (int column = 0; column < columns; ++column)
    headers[size_t(column)] = GetColumnHeaderText(column);

  const std::vector<long> rows = GetSelectedRows();
  std::vector<std::string> cells(headers.size());
  std::string record;
  ExportProgress progress(this, "XML", rows.size());
  for (size_t done = 0; done < rows.size(); ++done) {
    for (int column = 0; column < columns; ++column)
      cells[size_t(column)] = GetExportCellText(rows[done], column);
    record.clear();
    AppendXmlRecord(&record, headers, cells);
    fwrite(record.data(), 1, record.size(), file.stream());
    if (!progress.Step(done + 1)) return false;
  }
  fputs(kXmlExportClosing, file.stream());
  return file.Commit();
}
