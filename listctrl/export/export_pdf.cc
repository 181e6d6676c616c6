// The PDF export: page options from a task dialog, remembered in the list's
// settings section, then the selected rows rendered by the report writer.
#include <wx/msgdlg.h>

#include <string>

#include "framework/executable_folder.h"
#include "framework/task_dialog.h"
#include "listctrl/export/export_file.h"
#include "listctrl/export/export_report.h"
#include "listctrl/export/export_save_dialog.h"
#include "listctrl/zorm_list_ctrl.h"
#include "report/report.h"
#include "util/copy_cut.h"

namespace {

struct PaperSize {
  const char* label;
  int id;  // the report writer's page-size code
};
const PaperSize kPaperSizes[] = {{"Letter", 0}, {"Legal", 1}, {"A4", 3}};

// A remembered size that is none of the offered ones (a hand-edited setting)
// falls back to Letter rather than to a size the dialog cannot show.
int OfferedPaperSize(unsigned remembered) {
  for (const PaperSize& size : kPaperSizes)
    if (unsigned(size.id) == remembered) return size.id;
  return kPaperSizes[0].id;
}

}  // namespace

bool CZORMListCtrl::ExportPDF(std::string title, ExportAction action) {
  if (GetColumnCount() < 1 || GetSelectedItemCount() == 0) return false;

  CZORMTaskDialog dialog(this);
  dialog.SetWindowTitle("PDF Export Options");
  dialog.SetMainInstruction("Please select the desired settings for the PDF file.");
  dialog.EnableCancellation(true);
  for (const PaperSize& size : kPaperSizes) dialog.AddRadioButton(size.label, size.id);
  dialog.SetDefaultRadioButton(OfferedPaperSize(GetListProfileInt("PDFPageSize", 0)));
  dialog.SetVerificationText("Create PDF in landscape mode (rather than portrait)");
  dialog.SetVerifyCheckState(GetListProfileInt("PDFPageOrientation", 0) != 0);
  dialog.SetContent(
      "Please select a paper size.\n\nYou can also remove columns from the report by specifying an "
      "array of comma delimited column values in the input box (example 3,4,8).");
  dialog.AddInputBox();
  dialog.SetInputBoxText(GetListProfileString("PDFExclusionColumns", ""));
  dialog.SetCommonButtons(true, false, false, true, false, false);
  dialog.SetFooterIcon(CZORMTaskDialog::FooterIcon::kApplication);
  dialog.SetDefaultButton(CZORMTaskDialog::kOk);
  if (dialog.DoModal() != CZORMTaskDialog::kOk) return false;

  const std::string path = AskExportPath(*this, "pdf", "Adobe PDF File (*.pdf)|*.pdf|");
  if (path.empty()) return false;

  // Remembered only now: a cancelled save dialog leaves the earlier choices.
  PdfExportOptions options;
  options.page_size = uint32_t(dialog.GetSelectedRadioButtonId());
  options.landscape = dialog.IsVerificiationChecked() != 0;
  options.exclusion_columns = dialog.GetInputBoxText();
  WriteListProfileInt("PDFPageSize", int(options.page_size));
  WriteListProfileInt("PDFPageOrientation", options.landscape ? 1 : 0);
  WriteListProfileString("PDFExclusionColumns", options.exclusion_columns.c_str());

  const unsigned records = unsigned(GetSelectedItemCount());
  if (WritePDFFile(path, std::move(title), options))
    FinishExport("Adobe PDF", records, path, action);
  return true;
}

bool CZORMListCtrl::WritePDFFile(const std::string& path, std::string title,
                                 const PdfExportOptions& options) {
  ExportFile file(this);
  if (!file.Open(path)) return false;
  // The report writer would quietly put a PDF whose path it cannot hold into the
  // working folder under a name of its own.
  if (file.write_path().size() > kReportMaxPath) {
    ShowWriteOutputFailed(this, "the path is too long for a PDF: " + path);
    return false;
  }

  Report report;
  InitReport(&report);
  report.format = ReportFormat::Pdf;
  report.SetPdfOrientation(options.landscape ? 1 : 0);
  report.SetPdfPageSize(options.page_size);
  report.SetPdfOutputPath(file.write_path().c_str());
  // Left out by the report writer when the file is not there.
  report.SetPdfLogo((ExecutableFolder() + "resources/Calvaro_Logo.jpg").c_str());
  CopyCut(report.column_delete, sizeof report.column_delete, options.exclusion_columns);

  const std::vector<uint32_t> widths = StartListReport(*this, &report, title, true);
  // A cancelled report is released unsaved when it goes out of scope.
  if (!AddListRecords(*this, &report, widths, GetSelectedRows(), "PDF")) return false;
  report.Close();

  if (report.pdf_save_result != 0) {
    wxMessageDialog(this,
                    wxString::Format("PDF Export failed with result code: %u",
                                     unsigned(report.pdf_save_result)),
                    "Export Error", wxOK | wxICON_ERROR)
        .ShowModal();
    return false;
  }
  if (!report.file_error.empty()) {
    ShowWriteOutputFailed(this, report.file_error);
    return false;
  }
  return file.Commit();
}
