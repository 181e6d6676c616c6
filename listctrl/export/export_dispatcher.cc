// The one entry of every export: a selection to export, the export dialog, the
// chosen writer; and what happens to a written file afterwards.
#include "listctrl/export/export_dispatcher.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include "framework/association.h"
#include "framework/task_dialog.h"
#include "listctrl/zorm_list_ctrl.h"

namespace {

// How long after an export its file is opened: the writer's program may still hold
// the file for a moment, and the user sees the list settle first.
constexpr int kOpenDelayMs = 1000;

std::string ExportFooter(const CZORMListCtrl& list) {
  return wxString::Format("The export will contain %u selected records (of %u available).",
                          unsigned(list.GetSelectedItemCount()), unsigned(list.GetItemCount()))
      .utf8_string();
}

// Opens one written file once the delay is over. It belongs to no window, so the
// file still opens when the list that wrote it is gone by then; it deletes itself
// after opening.
class DelayedOpen : public wxTimer {
 public:
  explicit DelayedOpen(std::string path) : m_strPath(std::move(path)) { StartOnce(kOpenDelayMs); }
  void Notify() override {
    CZORMAssociation(m_strPath).OpenFile();  // reports its own failures
    // Not from inside this timer's own callback.
    wxTheApp->CallAfter([this] { delete this; });
  }

 private:
  std::string m_strPath;
};

}  // namespace

std::vector<ExportTypeOption> ExportTypeOptions(bool offer_email) {
  std::vector<ExportTypeOption> options = {
      {ExportType::PDF, "Adobe Acrobat File (PDF)"},
      {ExportType::CSV, "Comma Delimited File (CSV)"},
      {ExportType::JSON, "JavaScript Object Notation (JSON)"},
      {ExportType::Excel, "Microsoft Excel"},
      {ExportType::Text, "Text File"},
      {ExportType::XML, "XML File (XML)"},
  };
  if (offer_email) options.insert(options.begin() + 3, {ExportType::Email, "Email"});
  return options;
}

bool AskForExportType(CZORMListCtrl& list, bool offer_email, ExportChoice* choice) {
  CZORMTaskDialog dialog(&list);
  dialog.SetWindowTitle("Export Type Selection");
  dialog.SetMainInstruction(
      "You can export this list to different formats.\nPlease select an export type:");
  dialog.EnableCancellation(true);
  dialog.SetVerificationText("Open file when export is complete");
  dialog.SetVerifyCheckState(true);
  for (const ExportTypeOption& option : ExportTypeOptions(offer_email))
    dialog.AddRadioButton(option.label, int(option.type));
  if (list.GetSelectedItemCount() < list.GetItemCount())
    dialog.AddButton("Select All", kExportSelectAllButton);
  dialog.SetCommonButtons(true, false, false, true, false, false);
  dialog.SetFooterIcon(CZORMTaskDialog::FooterIcon::kInformation);
  dialog.SetFooter(ExportFooter(list));
  dialog.SetDefaultButton(CZORMTaskDialog::kOk);

  for (;;) {
    const int result = dialog.DoModal();
    if (result == kExportSelectAllButton) {
      list.SelectAll();
      dialog.SetFooter(ExportFooter(list));
      dialog.EnableButton(kExportSelectAllButton, false);
      dialog.SetDefaultButton(CZORMTaskDialog::kOk);
      dialog.SetDefaultRadioButton(dialog.GetSelectedRadioButtonId());
      continue;
    }
    if (result != CZORMTaskDialog::kOk) return false;
    choice->type = ExportType(dialog.GetSelectedRadioButtonId());
    choice->action = dialog.IsVerificiationChecked() ? ExportAction::Open : ExportAction::None;
    return true;
  }
}

void CZORMListCtrl::Export(std::string title, const std::vector<std::string>* recipients) {
  if (GetSelectedItemCount() == 0) {
    wxMessageDialog question(this,
                             "This operation requires you to have at least one item "
                             "selected.\n\nWould you like to select all items?",
                             "Selection Required", wxYES_NO | wxICON_QUESTION);
    if (question.ShowModal() != wxID_YES) return;
    SelectAll();
    if (GetSelectedItemCount() == 0) return;  // an empty list: nothing to say
  }

  ExportChoice choice;
  if (!AskForExportType(*this, recipients != nullptr, &choice)) return;
  // Each writer reports its own failures.
  switch (choice.type) {
    case ExportType::CSV:
      ExportCSV(choice.action);
      break;
    case ExportType::Email:
      ExportEmail(std::move(title), recipients);
      break;
    case ExportType::Text:
      ExportText(std::move(title), "", choice.action);
      break;
    case ExportType::XML:
      ExportXML(choice.action);
      break;
    case ExportType::Excel:
      ExportExcel(choice.action);
      break;
    case ExportType::PDF:
      ExportPDF(std::move(title), choice.action);
      break;
    case ExportType::JSON:
      ExportJSON(std::move(title), "", choice.action);
      break;
  }
}

void CZORMListCtrl::FinishExport(const char* type_name, unsigned record_count,
                                 const std::string& path, ExportAction action) {
  switch (action) {
    case ExportAction::None:
      return;
    case ExportAction::AskToOpen: {
      wxMessageDialog question(
          this,
          wxString::Format("Exported %u records.\n\nWould you like to open the exported %s File?",
                           record_count, type_name),
          "Open File", wxYES_NO | wxICON_NONE);
      if (question.ShowModal() != wxID_YES) return;
      [[fallthrough]];
    }
    case ExportAction::Open:
      new DelayedOpen(path);
      return;
    case ExportAction::Print:
      CZORMAssociation(path).PrintFile();
      return;
  }
}
