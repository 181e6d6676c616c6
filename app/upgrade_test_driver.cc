#include "app/upgrade_test_driver.h"

#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/propgrid/propgrid.h>

#include "app/upgrade_dlg.h"

UpgradeDialogDriver::UpgradeDialogDriver(std::function<void(CZORMUpgradeDlg&)> script)
    : m_script(std::move(script)) {
  Register();
}

UpgradeDialogDriver::~UpgradeDialogDriver() { Unregister(); }

int UpgradeDialogDriver::Enter(wxDialog* dialog) {
  if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
    m_messages.push_back({std::string(box->GetTitle().utf8_str()),
                          std::string(box->GetMessage().utf8_str()), box->GetMessageDialogStyle()});
    return wxID_OK;
  }
  if (auto* upgrade = dynamic_cast<CZORMUpgradeDlg*>(dialog)) {
    m_dialogShown = true;
    // Queued now, run by the modal loop once the dialog is up.
    upgrade->CallAfter([this, upgrade] {
      if (m_script) m_script(*upgrade);
      if (upgrade->IsModal()) upgrade->EndModal(kLeftOpen);
    });
    return wxID_NONE;  // show it for real
  }
  ADD_FAILURE() << "unexpected modal dialog " << dialog->GetClassInfo()->GetClassName();
  return wxID_CANCEL;
}

void UpgradeDialogDriver::Exit(wxDialog* dialog) {
  if (dynamic_cast<CZORMUpgradeDlg*>(dialog)) m_dialogResult = dialog->GetReturnCode();
}

void ClickButton(wxDialog& dialog, int id) {
  wxWindow* button = dialog.FindWindow(id);
  ASSERT_NE(button, nullptr) << "no button " << id;
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

std::vector<std::string> SummaryLines(CZORMUpgradeDlg& dialog) {
  std::vector<std::string> lines;
  for (wxPropertyGridIterator it = dialog.m_wndPropertyGrid.GetIterator(wxPG_ITERATE_ALL);
       !it.AtEnd(); ++it) {
    wxPGProperty* property = *it;
    std::string line(property->GetLabel().utf8_str());
    if (!property->IsCategory() && !property->HasFlag(wxPG_PROP_AGGREGATE) &&
        property->GetChildCount() == 0)
      line += "=" + std::string(property->GetValueAsString().utf8_str());
    lines.push_back(line);
  }
  return lines;
}

namespace {

wxListItem ListItem(CZORMUpgradeDlg& dialog, long row, int column, long mask) {
  wxListItem item;
  item.SetId(row);
  item.SetColumn(column);
  item.SetMask(mask);
  EXPECT_TRUE(dialog.m_wndList.GetItem(item)) << "row " << row << " column " << column;
  return item;
}

}  // namespace

std::string CellText(CZORMUpgradeDlg& dialog, long row, int column) {
  return std::string(ListItem(dialog, row, column, wxLIST_MASK_TEXT).GetText().utf8_str());
}

int RowImage(CZORMUpgradeDlg& dialog, long row) {
  return ListItem(dialog, row, 0, wxLIST_MASK_IMAGE).GetImage();
}
