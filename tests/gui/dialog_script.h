// Answers a GUI test's modal dialogs without showing them.
#pragma once

#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

// One answer to a task dialog: input, radio button to pick, check box, result.
struct Answer {
  std::string input, radio;
  bool checked = true;
  int result = wxID_OK;
};

// A dialog's title and its controls' labels in window order, each after a "|":
// "*" marks the chosen radio button, "[x]" a ticked check box, "(off)" a disabled
// control and "(default)" the default button.
inline std::string DescribeDialog(wxDialog* dialog) {
  std::string text = dialog->GetTitle().utf8_string();
  for (wxWindow* child : dialog->GetChildren()) {
    auto* radio = dynamic_cast<wxRadioButton*>(child);
    auto* check = dynamic_cast<wxCheckBox*>(child);
    text += std::string("|") + (radio && radio->GetValue() ? "*" : "") +
            (check && check->GetValue() ? "[x]" : "") + child->GetLabel().utf8_string() +
            (child->IsEnabled() ? "" : "(off)") +
            (dialog->GetDefaultItem() == child ? "(default)" : "");
  }
  return text;
}

// Answers task dialogs in turn (Cancel when none is left), noting each one's chosen
// radio button and description; message boxes are noted as "caption|text", their
// styles in box_styles, and closed with box_result.
struct DialogScript : wxModalDialogHook {
  explicit DialogScript(std::vector<Answer> answers, int box_result = wxID_OK)
      : answers(std::move(answers)), box_result(box_result) {
    Register();
  }
  ~DialogScript() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
      shown.push_back((box->GetTitle() + "|" + box->GetMessage()).utf8_string());
      box_styles.push_back(box->GetMessageDialogStyle() & (wxYES_NO | wxOK | wxICON_MASK));
      return box_result;
    }
    described.push_back(DescribeDialog(dialog));
    for (wxWindow* child : dialog->GetChildren()) {
      auto* radio = dynamic_cast<wxRadioButton*>(child);
      if (radio != nullptr && radio->GetValue()) preselected.push_back(radio->GetLabel().utf8_string());
    }
    if (next == answers.size()) return wxID_CANCEL;
    const Answer& answer = answers[next++];
    for (wxWindow* child : dialog->GetChildren()) {
      if (auto* radio = dynamic_cast<wxRadioButton*>(child)) {
        if (radio->GetLabel() == answer.radio) radio->SetValue(true);
      }
      if (auto* check = dynamic_cast<wxCheckBox*>(child)) check->SetValue(answer.checked);
      if (auto* text = dynamic_cast<wxTextCtrl*>(child)) text->SetValue(answer.input);
    }
    return answer.result;
  }
  void Exit(wxDialog*) override {}
  std::vector<Answer> answers;
  int box_result;
  size_t next = 0;
  std::vector<std::string> shown, preselected, described;
  std::vector<long> box_styles;
};
