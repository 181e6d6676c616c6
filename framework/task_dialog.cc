#include "framework/task_dialog.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <algorithm>

#include "framework/accessible_name.h"

namespace {

// Spacing as in GTK's own message dialogs: 18 around, 12 between the parts.
constexpr int kBorder = 18;
constexpr int kSpacing = 12;
constexpr int kRadioSpacing = 6;  // radio buttons stay visibly one group
constexpr int kTextWidth = 420;   // long texts wrap here instead of widening the dialog
constexpr int kFooterIconSize = 16;

wxString Text(const std::string& utf8) { return wxString::FromUTF8(utf8); }

// The application's icon is its main window's; the information icon stands in for
// an application that has none.
wxBitmap FooterBitmap(CZORMTaskDialog::FooterIcon icon, const wxSize& size) {
  if (icon == CZORMTaskDialog::FooterIcon::kApplication) {
    auto* top = wxTheApp ? dynamic_cast<wxTopLevelWindow*>(wxTheApp->GetTopWindow()) : nullptr;
    if (top && top->GetIcon().IsOk()) {
      wxBitmap bitmap;
      bitmap.CopyFromIcon(top->GetIcon());
      return wxBitmap(bitmap.ConvertToImage().Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH));
    }
  }
  return wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_OTHER, size);
}

}  // namespace

// The window of one showing, built from the object's configuration. It ends its
// modal loop with the window id of the button that closed it (wxID_OK, wxID_CANCEL
// or the command id, which command buttons use as their window id).
class CZORMTaskDialog::Window : public wxDialog {
 public:
  explicit Window(const CZORMTaskDialog& config);

  // Copies what the controls hold now into `config`, however the loop ended.
  void ReadChoices(CZORMTaskDialog& config) const;

 private:
  wxSizer* MakeButtonRow(const CZORMTaskDialog& config);
  wxSizer* MakeFooter(const CZORMTaskDialog& config, int width);
  wxStaticBitmap* MakeFooterIcon(FooterIcon icon);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  const bool m_bCancellation;
  wxTextCtrl* m_pInput = nullptr;
  std::vector<std::pair<wxRadioButton*, int>> m_radios;  // control, radio id
  wxCheckBox* m_pCheck = nullptr;
  wxButton* m_pDefault = nullptr;
};

CZORMTaskDialog::Window::Window(const CZORMTaskDialog& config)
    : wxDialog(config.m_pParent, wxID_ANY,
               config.m_strWindowTitle.empty() ? wxTheApp->GetAppDisplayName()
                                               : Text(config.m_strWindowTitle),
               wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | (config.m_bCancellation ? wxCLOSE_BOX : 0)),
      m_bCancellation(config.m_bCancellation) {
  SetEscapeId(wxID_NONE);  // Escape follows the cancellation setting, in OnCharHook
  const int width = FromDIP(kTextWidth), spacing = FromDIP(kSpacing);
  auto* column = new wxBoxSizer(wxVERTICAL);
  const auto add = [&](wxWindow* window, int above) {
    column->Add(window, wxSizerFlags().Expand().Border(wxTOP, column->IsEmpty() ? 0 : above));
  };

  if (!config.m_strMainInstruction.empty()) {
    auto* text = new wxStaticText(this, wxID_ANY, Text(config.m_strMainInstruction));
    text->SetFont(text->GetFont().Bold().Larger());
    text->Wrap(width);
    add(text, spacing);
  }
  if (!config.m_strContent.empty()) {
    auto* text = new wxStaticText(this, wxID_ANY, Text(config.m_strContent));
    text->Wrap(width);
    add(text, spacing);
  }
  if (config.m_bInputBox) {
    m_pInput = new wxTextCtrl(this, wxID_ANY, Text(config.m_strInput));
    m_pInput->SetMinSize(wxSize(width, -1));
    // The box has no label of its own; the question above it says what it is for.
    SetAccessibleName(m_pInput,
                      Text(config.m_strMainInstruction.empty() ? config.m_strContent
                                                               : config.m_strMainInstruction));
    add(m_pInput, spacing);
  }
  for (const Button& radio : config.m_radioButtons) {
    auto* control = new wxRadioButton(this, wxID_ANY, Text(radio.text), wxDefaultPosition,
                                      wxDefaultSize, m_radios.empty() ? wxRB_GROUP : 0);
    add(control, m_radios.empty() ? spacing : FromDIP(kRadioSpacing));
    m_radios.emplace_back(control, radio.id);
  }
  if (!m_radios.empty()) {
    const auto chosen = std::find_if(m_radios.begin(), m_radios.end(), [&](const auto& radio) {
      return radio.second == config.m_nSelectedRadio;
    });
    (chosen == m_radios.end() ? m_radios.front() : *chosen).first->SetValue(true);
  }
  if (!config.m_strVerificationText.empty()) {
    m_pCheck = new wxCheckBox(this, wxID_ANY, Text(config.m_strVerificationText));
    m_pCheck->SetValue(config.m_bVerifyChecked);
    add(m_pCheck, spacing);
  }
  if (wxSizer* footer = MakeFooter(config, width)) {
    if (!column->IsEmpty()) add(new wxStaticLine(this), spacing);
    column->Add(footer, wxSizerFlags().Expand().Border(wxTOP, column->IsEmpty() ? 0 : spacing));
  }
  column->Add(MakeButtonRow(config), wxSizerFlags().Expand().Border(wxTOP, 2 * spacing));

  auto* outer = new wxBoxSizer(wxVERTICAL);
  outer->Add(column, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(kBorder)));
  SetSizerAndFit(outer);
  CentreOnParent();

  // Typing starts in the input box, replacing its text; otherwise the arrow keys
  // work the chosen radio button, or Enter and Space the default button.
  if (m_pInput) {
    m_pInput->SetFocus();
    m_pInput->SelectAll();
  } else if (!m_radios.empty()) {
    std::find_if(m_radios.begin(), m_radios.end(), [](const auto& radio) {
      return radio.first->GetValue();
    })->first->SetFocus();
  } else if (m_pDefault && m_pDefault->IsEnabled()) {
    m_pDefault->SetFocus();
  }

  Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { EndModal(event.GetId()); });
  Bind(wxEVT_CHAR_HOOK, &Window::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &Window::OnClose, this);
}

wxStaticBitmap* CZORMTaskDialog::Window::MakeFooterIcon(FooterIcon icon) {
  if (icon == FooterIcon::kNone) return nullptr;
  const wxSize size = FromDIP(wxSize(kFooterIconSize, kFooterIconSize));
  return new wxStaticBitmap(this, wxID_ANY, FooterBitmap(icon, size));
}

wxSizer* CZORMTaskDialog::Window::MakeFooter(const CZORMTaskDialog& config, int width) {
  if (config.m_strFooter.empty()) return nullptr;
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  if (wxStaticBitmap* icon = MakeFooterIcon(config.m_footerIcon))
    row->Add(icon, wxSizerFlags().CentreVertical().Border(wxRIGHT, FromDIP(kRadioSpacing)));
  auto* text = new wxStaticText(this, wxID_ANY, Text(config.m_strFooter));
  text->Wrap(width - FromDIP(kFooterIconSize + kRadioSpacing));
  row->Add(text, wxSizerFlags(1).CentreVertical());
  return row;
}

wxSizer* CZORMTaskDialog::Window::MakeButtonRow(const CZORMTaskDialog& config) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  // An icon without a footer text marks the dialog at the buttons' left.
  wxStaticBitmap* icon = config.m_strFooter.empty() ? MakeFooterIcon(config.m_footerIcon) : nullptr;
  if (icon) row->Add(icon, wxSizerFlags().CentreVertical());
  row->AddStretchSpacer();
  // Created in their order on screen, so Tab visits them left to right.
  const auto add = [&](int window_id, const wxString& label, int id) {
    auto* button = new wxButton(this, window_id, label);
    button->Enable(config.IsButtonEnabled(id));
    if (id == config.m_nDefaultButton) {
      button->SetDefault();
      m_pDefault = button;
    }
    row->Add(button, wxSizerFlags().Border(wxLEFT, FromDIP(kRadioSpacing)));
  };
  for (const Button& button : config.m_buttons) add(button.id, Text(button.text), button.id);
  // GTK's order: the affirmative button rightmost, Cancel left of it. A dialog
  // configured with no button at all still gets OK, so it can be closed.
  if (config.m_bCancelButton) add(wxID_CANCEL, wxEmptyString, kCancel);
  if (config.m_bOkButton || (!config.m_bCancelButton && config.m_buttons.empty()))
    add(wxID_OK, wxEmptyString, kOk);
  return row;
}

void CZORMTaskDialog::Window::OnCharHook(wxKeyEvent& event) {
  if (event.HasAnyModifiers()) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      if (m_bCancellation) EndModal(wxID_CANCEL);
      return;  // without cancellation Escape is swallowed
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: {
      // Enter presses the focused button, as Space does, and otherwise the default.
      auto* focused = dynamic_cast<wxButton*>(FindFocus());
      wxButton* button = focused && focused->GetParent() == this ? focused : m_pDefault;
      if (button && button->IsEnabled()) EndModal(button->GetId());
      return;
    }
    default:
      event.Skip();
  }
}

void CZORMTaskDialog::Window::OnClose(wxCloseEvent& event) {
  if (m_bCancellation || !event.CanVeto())
    EndModal(wxID_CANCEL);
  else
    event.Veto();
}

void CZORMTaskDialog::Window::ReadChoices(CZORMTaskDialog& config) const {
  if (m_pInput) config.m_strInput = m_pInput->GetValue().utf8_string();
  for (const auto& [control, id] : m_radios)
    if (control->GetValue()) config.m_nSelectedRadio = id;
  if (m_pCheck) config.m_bVerifyChecked = m_pCheck->GetValue();
}

CZORMTaskDialog::CZORMTaskDialog(wxWindow* parent) : m_pParent(parent) {}

CZORMTaskDialog::~CZORMTaskDialog() = default;

void CZORMTaskDialog::SetWindowTitle(const std::string& title) { m_strWindowTitle = title; }
void CZORMTaskDialog::SetMainInstruction(const std::string& text) { m_strMainInstruction = text; }
void CZORMTaskDialog::SetContent(const std::string& text) { m_strContent = text; }
void CZORMTaskDialog::SetFooter(const std::string& text) { m_strFooter = text; }
void CZORMTaskDialog::SetFooterIcon(FooterIcon icon) { m_footerIcon = icon; }
void CZORMTaskDialog::SetVerificationText(const std::string& text) { m_strVerificationText = text; }
void CZORMTaskDialog::SetVerifyCheckState(bool checked) { m_bVerifyChecked = checked; }
void CZORMTaskDialog::EnableCancellation(bool enable) { m_bCancellation = enable; }

void CZORMTaskDialog::SetCommonButtons(bool ok, bool /*yes*/, bool /*no*/, bool cancel,
                                       bool /*retry*/, bool /*close*/) {
  m_bOkButton = ok;
  m_bCancelButton = cancel;
}

void CZORMTaskDialog::SetDefaultButton(int id) { m_nDefaultButton = id; }
void CZORMTaskDialog::AddButton(const std::string& text, int id) {
  m_buttons.push_back({text, id});
}

void CZORMTaskDialog::AddRadioButton(const std::string& text, int id) {
  m_radioButtons.push_back({text, id});
}

void CZORMTaskDialog::SetDefaultRadioButton(int id) { m_nSelectedRadio = id; }
void CZORMTaskDialog::AddInputBox() { m_bInputBox = true; }
void CZORMTaskDialog::SetInputBoxText(const std::string& text) { m_strInput = text; }

void CZORMTaskDialog::EnableButton(int id, bool enable) {
  for (auto& [button, enabled] : m_enabled) {
    if (button == id) {
      enabled = enable;
      return;
    }
  }
  m_enabled.emplace_back(id, enable);
}

bool CZORMTaskDialog::IsButtonEnabled(int id) const {
  for (const auto& [button, enabled] : m_enabled)
    if (button == id) return enabled;
  return true;
}

int CZORMTaskDialog::DoModal() {
  Window window(*this);
  const int result = window.ShowModal();
  window.ReadChoices(*this);  // also when a modal hook answered without showing it
  if (result == wxID_OK) return kOk;
  if (result == wxID_CANCEL) return kCancel;
  return result;
}

int CZORMTaskDialog::GetSelectedRadioButtonId() const { return m_nSelectedRadio; }
int CZORMTaskDialog::IsVerificiationChecked() const { return m_bVerifyChecked ? 1 : 0; }
std::string CZORMTaskDialog::GetInputBoxText() const { return m_strInput; }

void CZORMTaskDialog::AskForOneLine() {
  EnableCancellation(true);
  AddInputBox();
  SetCommonButtons(true, false, false, true, false, false);
  SetFooterIcon(FooterIcon::kApplication);
  SetDefaultButton(kOk);
}
