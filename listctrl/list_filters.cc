// The list's column filters: the filter bar under the header, the filter map it
// fills, and the commands that clear, save, restore and show filters.
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "framework/task_dialog.h"
#include "listctrl/filter_bar.h"
#include "listctrl/filter_change_event.h"
#include "listctrl/zorm_list_ctrl.h"

namespace {

void ShowMessage(wxWindow* owner, const std::string& text, const char* caption, long style) {
  wxMessageDialog(owner, wxString::FromUTF8(text), caption, style).ShowModal();
}

}  // namespace

void CZORMFilter::ReadFilterText(const CZORMListCtrl& list, int column) {
  const CZORMFilterBar* bar = list.GetFilterBar();
  std::string text;
  if (bar == nullptr || !bar->IsShown() || !bar->GetText(column, &text)) return;
  pattern = CutToBytes(text, kMaxPattern);
}

void CZORMListCtrl::EnableFilterBar() {
  if (m_pFilterBar != nullptr) return;
  m_pFilterBar = new CZORMFilterBar(this, [this](int column) { OnFilterChange(column); });
  // The header is painted whenever a column moves, grows or scrolls sideways.
  m_wndHeader.SetPaintedCallback([this] {
    if (m_pFilterBar == nullptr || !m_pFilterBar->IsShown()) return;
    if (m_pFilterBar->GetBox(GetColumnCount() - 1) != nullptr &&
        m_pFilterBar->GetBox(GetColumnCount()) == nullptr)
      m_pFilterBar->FollowColumns();
    else  // boxes come and go outside the painting
      CallAfter([this] { m_pFilterBar->FollowColumns(); });
  });
  Bind(wxEVT_SIZE, &CZORMListCtrl::OnSizeFollowFilterBar, this);
  PlaceFilterBar();
}

void CZORMListCtrl::PlaceFilterBar() {
  wxSizer* sizer = GetSizer();
  if (m_pFilterBar == nullptr || sizer == nullptr) return;
  // The generic list stacks its header and its rows in its sizer; the bar goes
  // between them, and stays there when the header is made again.
  const wxWindow* header = FindHeaderWindow();
  if (sizer->GetItem(m_pFilterBar) == nullptr) {
    sizer->Insert(header != nullptr ? 1 : 0, m_pFilterBar, 0, wxEXPAND);
  }
  sizer->Show(m_pFilterBar, header != nullptr);
  if (header != nullptr) m_pFilterBar->FollowColumns();
}

void CZORMListCtrl::OnSizeFollowFilterBar(wxSizeEvent& event) {
  PlaceFilterBar();  // before the list lays itself out
  event.Skip();
}

int CZORMListCtrl::FilterBarHeight() const {
  return m_pFilterBar != nullptr && m_pFilterBar->IsShown() ? m_pFilterBar->GetSize().y : 0;
}

bool CZORMListCtrl::GetItemRect(long item, wxRect& rect, int code) const {
  if (!wxListCtrl::GetItemRect(item, rect, code)) return false;
  rect.y += FilterBarHeight();
  return true;
}

bool CZORMListCtrl::GetSubItemRect(long item, long subItem, wxRect& rect, int code) const {
  if (!wxListCtrl::GetSubItemRect(item, subItem, rect, code)) return false;
  rect.y += FilterBarHeight();
  return true;
}

void CZORMListCtrl::OnFilterChange(int column) {
  CZORMFilter filter;
  filter.ReadFilterText(*this, column);
  if (filter.pattern.empty())
    m_mapFilters.erase(unsigned(column));
  else
    m_mapFilters[unsigned(column)] = filter;
  NotifyFilterChange();
}

void CZORMListCtrl::SetFilterText(int column, const std::string& text) {
  if (m_pFilterBar != nullptr && m_pFilterBar->SetText(column, text)) OnFilterChange(column);
}

void CZORMListCtrl::NotifyFilterChange() {
  if (m_filterChange == wxEVT_NULL) return;
  wxWindow* target = m_pFilterChangeTarget != nullptr ? m_pFilterChangeTarget : GetParent();
  if (target == nullptr) return;
  CZORMFilterChangeEvent event(m_filterChange);
  event.SetEventObject(this);
  target->GetEventHandler()->ProcessEvent(event);
}

void CZORMListCtrl::ClearFilters() {
  if (FindHeaderWindow() == nullptr) return;
  m_mapFilters.clear();
  if (m_pFilterBar != nullptr) m_pFilterBar->ClearAll();
  NotifyFilterChange();
}

void CZORMListCtrl::SaveFilter() {
  const auto save_error = [this](const char* text) {
    ShowMessage(this, text, "Save Error", wxOK | wxICON_INFORMATION);
  };
  if (m_mapFilters.empty()) return save_error("You have no filters set to save");
  if (m_strRegistryName.empty()) return save_error("This list is not registered for filter saving");
  // The saved form separates its parts with backquotes.
  for (const auto& [column, filter] : m_mapFilters) {
    if (filter.pattern.find('`') != std::string::npos)
      return save_error("A filter with a backquote (`) can not be saved");
  }
  const std::string encoded = EncodeFilters(m_mapFilters);

  CZORMTaskDialog dialog(this);
  dialog.SetWindowTitle("Filter Save");
  dialog.SetMainInstruction("Save Current Filter.");
  dialog.SetContent("Please enter a name that you want to use to identify the current filter in future:");
  dialog.AskForOneLine();
  while (dialog.DoModal() == CZORMTaskDialog::kOk) {
    const std::string name = dialog.GetInputBoxText();
    if (name.empty()) {
      ShowMessage(this, "Filter save name can not be blank", "Input Error", wxOK | wxICON_ERROR);
      continue;
    }
    m_mapSavedFilters[name] = encoded;
    m_bSavedFiltersChanged = true;
    return;
  }
}

void CZORMListCtrl::RestoreFilter() {
  if (m_mapSavedFilters.empty()) {
    ShowMessage(this, "You have no saved filters", "Restore Error", wxOK | wxICON_INFORMATION);
    return;
  }
  const std::string default_name = GetListProfileString("DefaultFilter", "");

  constexpr int kRemoveFilter = 6;
  CZORMTaskDialog dialog(this);
  dialog.SetWindowTitle("Filter Restore");
  dialog.SetMainInstruction("Select Filter.");
  dialog.SetContent("Please select one of your saved filters to restore or delete:");
  dialog.EnableCancellation(true);
  dialog.SetCommonButtons(true, false, false, true, false, false);
  dialog.SetFooterIcon(CZORMTaskDialog::FooterIcon::kApplication);
  dialog.SetDefaultButton(CZORMTaskDialog::kOk);
  dialog.AddButton("Remove Filter", kRemoveFilter);
  dialog.SetVerificationText("Do you want to save the selected filter as the default for next time?");
  dialog.SetVerifyCheckState(true);
  std::vector<const std::pair<const std::string, std::string>*> by_id;
  for (const auto& saved : m_mapSavedFilters) {
    const int id = int(by_id.size());
    dialog.AddRadioButton(saved.first, id);
    if (saved.first == default_name) dialog.SetDefaultRadioButton(id);
    by_id.push_back(&saved);
  }
  const int result = dialog.DoModal();
  if (result != CZORMTaskDialog::kOk && result != kRemoveFilter) return;
  const int chosen = dialog.GetSelectedRadioButtonId();
  if (chosen < 0 || size_t(chosen) >= by_id.size()) return;
  const std::string name = by_id[size_t(chosen)]->first;
  const std::string encoded = by_id[size_t(chosen)]->second;
  WriteListProfileString("DefaultFilter", dialog.IsVerificiationChecked() ? name.c_str() : "");
  if (result == kRemoveFilter) {
    m_mapSavedFilters.erase(name);
    m_bSavedFiltersChanged = true;
    return;
  }
  ApplySavedFilter(encoded);
}

void CZORMListCtrl::ApplySavedFilter(const std::string& encoded) {
  if (FindHeaderWindow() != nullptr) {
    m_mapFilters.clear();
    if (m_pFilterBar != nullptr) m_pFilterBar->ClearAll();
    NotifyFilterChange();
  }
  // Columns that this list does not have are skipped by SetFilterText.
  for (const auto& [column, pattern] : DecodeFilterText(encoded)) SetFilterText(column, pattern);
}

void CZORMListCtrl::ShowFilters() {
  if (m_mapFilters.empty()) {
    ShowMessage(this, "No Filters set", "Filter Value", wxOK | wxICON_NONE);
    return;
  }
  for (const auto& [column, filter] : m_mapFilters) {
    const std::string text = std::to_string(column) + ":" + GetColumnHeaderText(int(column)) +
                             "[" + filter.pattern + "]";
    wxMessageDialog box(this, wxString::FromUTF8(text), "Filter Value",
                        wxOK | wxCANCEL | wxICON_INFORMATION);
    if (box.ShowModal() == wxID_CANCEL) return;
  }
}
