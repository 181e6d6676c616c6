// The list commands: views, shading and grid lines, selection tools and the column
// copy, reached by Ctrl+key and from the list menu.
#include <wx/msgdlg.h>

#include <algorithm>

#include "framework/string_array.h"
#include "framework/task_dialog.h"
#include "listctrl/random_selection.h"
#include "listctrl/zorm_list_ctrl.h"

namespace {

void ShowInputError(wxWindow* owner, const std::string& text) {
  wxMessageDialog(owner, wxString::FromUTF8(text), "Input Error", wxOK | wxICON_ERROR).ShowModal();
}

}  // namespace

CZORMListCtrl::View CZORMListCtrl::GetView() const {
  const long style = GetWindowStyleFlag();
  if (style & wxLC_REPORT) return View::kReport;
  if (style & wxLC_SMALL_ICON) return View::kSmallIcon;
  if (style & wxLC_LIST) return View::kList;
  return View::kIcon;
}

void CZORMListCtrl::SetView(View view) {
  if (IsVirtual() && view != View::kReport) return;
  static constexpr long kStyles[] = {wxLC_ICON, wxLC_REPORT, wxLC_SMALL_ICON, wxLC_LIST};
  SetWindowStyleFlag((GetWindowStyleFlag() & ~wxLC_MASK_TYPE) | kStyles[int(view)]);
  // The generic list places its items for the new view only when it is resized.
  SendSizeEvent();
  Refresh();
}

void CZORMListCtrl::RunListCommand(int code) {
  if (code >= 'a' && code <= 'z') code += 'A' - 'a';
  switch (code) {
    case '1': SetView(View::kIcon); break;
    case '2': SetView(View::kList); break;
    case '3': SetView(View::kReport); break;
    case '4': SetView(View::kSmallIcon); break;
    case '8':
      m_bAlternateShading = !m_bAlternateShading;
      Refresh(true);
      break;
    case '9': SetGridLines(!m_bGridLines); break;
    case 'A': SelectAll(); break;
    case 'I': InvertSelection(); break;
    case 'R': SelectRandom(); break;
    case 'S': {
      // Icon, small icon, list, report, and round again.
      static constexpr View kNext[] = {View::kSmallIcon, View::kIcon, View::kList, View::kReport};
      SetView(kNext[int(GetView())]);
      break;
    }
    case 'F': ClearFilters(); break;
    case 'K': SaveFilter(); break;
    case 'L': RestoreFilter(); break;
    case 'Y': ShowFilters(); break;
    case 'E':
      Export("Export", m_exportRecipients.empty() ? nullptr : &m_exportRecipients);
      break;
    case 'P':
      // Printing goes straight to the PDF writer, which has nothing to do without
      // a selection: no question either.
      if (GetSelectedItemCount() > 0) ExportPDF("List Print", ExportAction::Print);
      break;
    default: break;
  }
}

void CZORMListCtrl::OnKeyDown(wxKeyEvent& event) {
  if (event.ControlDown() && !event.AltDown()) RunListCommand(event.GetKeyCode());
  event.Skip();
}

void CZORMListCtrl::SelectRandom() {
  const unsigned rows = unsigned(GetItemCount());
  if (rows == 0) {
    ShowInputError(this, "There are no items in this list.");
    return;
  }
  SelectOnly({});

  CZORMTaskDialog dialog(this);
  dialog.SetWindowTitle("Select Random Records");
  dialog.SetMainInstruction("Select the number of records.");
  dialog.SetContent(wxString::Format("Please enter the number of the %u records you wish to select "
                                     "(or enter a percentage):",
                                     rows)
                        .utf8_string());
  dialog.AskForOneLine();
  while (dialog.DoModal() == CZORMTaskDialog::kOk) {
    unsigned count = 0;
    const std::string error = ReadRandomSelectionCount(dialog.GetInputBoxText(), rows, &count);
    if (error.empty()) {
      const std::vector<bool> chosen = DrawRandomRows(rows, count);
      std::vector<long> picked;
      picked.reserve(count);
      for (unsigned row = 0; row < rows; ++row)
        if (chosen[row]) picked.push_back(row);
      SelectOnly(std::move(picked));
      return;
    }
    ShowInputError(this, error);
  }
}

void CZORMListCtrl::CopyColumn(int column) {
  const std::vector<long> rows = GetSelectedRows();
  if (!rows.empty()) {
    CZORMStringArray texts;
    const int position = GetColumnOrder(column);
    for (long row : rows) texts.Add(GetItemText(row, position).utf8_string());
    texts.CopyToClipboard(this);
  }
  wxMessageDialog(this, wxString::Format("%u items copied to clipboard.", unsigned(rows.size())),
                  "Column Copied", wxOK | wxICON_INFORMATION)
      .ShowModal();
}
