#include "listctrl/filter_bar.h"

#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "framework/accessible_name.h"
#include "listctrl/filter.h"

CZORMFilterBar::CZORMFilterBar(wxListCtrl* list, std::function<void(int column)> changed)
    : wxWindow(list, wxID_ANY), m_pList(list), m_changed(std::move(changed)), m_pause(this) {
  // As tall as a box, so the boxes fill the strip.
  wxTextCtrl probe(this, wxID_ANY);
  SetMinSize(wxSize(-1, probe.GetBestSize().y));
  Bind(wxEVT_TIMER, &CZORMFilterBar::OnPause, this);
}

CZORMFilterBar::~CZORMFilterBar() { m_pause.Stop(); }

void CZORMFilterBar::FollowColumns() {
  const int count = m_pList->GetColumnCount();
  while (int(m_boxes.size()) < count) AddBox();
  while (int(m_boxes.size()) > count) {
    if (m_nTyping == int(m_boxes.size()) - 1) {
      m_pause.Stop();
      m_nTyping = -1;
    }
    m_boxes.back()->Destroy();
    m_boxes.pop_back();
    m_names.pop_back();
  }
  // Under the header: scrolled sideways as the rows are, in the columns' order.
  int left = -m_pList->CalcUnscrolledPosition(wxPoint(0, 0)).x;
  const int height = GetClientSize().y;
  for (int order = 0; order < count; ++order) {
    const int column = m_pList->GetColumnIndexFromOrder(order);
    const int width = m_pList->GetColumnWidth(order);
    wxTextCtrl* box = m_boxes[size_t(column)];
    if (box->GetRect() != wxRect(left, 0, width, height)) box->SetSize(left, 0, width, height);
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    m_pList->GetColumn(order, header);
    // Screen readers name a box after its column.
    const wxString name = "Filter " + header.GetText();
    if (m_names[size_t(column)] != name) {
      SetAccessibleName(box, name);
      m_names[size_t(column)] = name;
    }
    left += width;
  }
}

void CZORMFilterBar::AddBox() {
  const int column = int(m_boxes.size());
  auto* box = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                             wxTE_PROCESS_ENTER);
  box->SetMaxLength(CZORMFilter::kMaxPattern);
  box->Bind(wxEVT_TEXT, [this, column](wxCommandEvent&) { OnText(column); });
  box->Bind(wxEVT_TEXT_ENTER, [this, column](wxCommandEvent&) { OnEnter(column); });
  // The filter commands work from a box too, so a filter can be saved as it is typed.
  box->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (event.ControlDown() && !event.AltDown() &&
        (key == 'F' || key == 'K' || key == 'L' || key == 'Y')) {
      m_pList->GetEventHandler()->ProcessEvent(event);
      return;
    }
    event.Skip();
  });
  m_boxes.push_back(box);
  m_names.emplace_back();
}

bool CZORMFilterBar::GetText(int column, std::string* text) const {
  const wxTextCtrl* box = GetBox(column);
  if (box == nullptr) return false;
  *text = box->GetValue().utf8_string();
  return true;
}

bool CZORMFilterBar::SetText(int column, const std::string& text) {
  wxTextCtrl* box = GetBox(column);
  if (box == nullptr) return false;
  if (m_nTyping == column) {
    m_pause.Stop();
    m_nTyping = -1;
  }
  box->ChangeValue(wxString::FromUTF8(CutToBytes(text, CZORMFilter::kMaxPattern)));
  return true;
}

void CZORMFilterBar::ClearAll() {
  m_pause.Stop();
  m_nTyping = -1;
  for (wxTextCtrl* box : m_boxes) box->ChangeValue(wxEmptyString);
}

wxTextCtrl* CZORMFilterBar::GetBox(int column) const {
  if (column < 0 || size_t(column) >= m_boxes.size()) return nullptr;
  return m_boxes[size_t(column)];
}

void CZORMFilterBar::OnText(int column) {
  // A change still waiting in another box goes first, so that none is lost.
  if (m_nTyping != -1 && m_nTyping != column) PassOn(m_nTyping);
  if (m_boxes[size_t(column)]->IsEmpty()) {
    if (m_nTyping == column) m_pause.Stop();
    m_nTyping = -1;
    PassOn(column);
    return;
  }
  m_nTyping = column;
  m_pause.StartOnce(kPauseMs);
}

void CZORMFilterBar::OnEnter(int column) {
  if (m_nTyping == column) {
    m_pause.Stop();
    m_nTyping = -1;
  }
  PassOn(column);
}

void CZORMFilterBar::OnPause(wxTimerEvent&) {
  const int column = m_nTyping;
  m_nTyping = -1;
  if (column != -1) PassOn(column);
}

void CZORMFilterBar::PassOn(int column) {
  if (m_nTyping == column) {
    m_pause.Stop();
    m_nTyping = -1;
  }
  m_changed(column);
}
