// Answers a GUI test's modal dialogs without showing them.
#pragma once

#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

// One answer to a task dialog: input, radio button to pick, check box, result.
struct Answer {
  std::string input, radio;
  bool checked = true;
  int result = wxID_OK;
};

// Answers task dialogs in turn (Cancel when none is left), noting each one's chosen
// radio button; message boxes are noted as "caption|text" and closed with OK.
struct DialogScript : wxModalDialogHook {
  explicit DialogScript(std::vector<Answer> answers) : answers(std::move(answers)) { Register(); }
  ~DialogScript() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
      shown.push_back((box->GetTitle() + "|" + box->GetMessage()).utf8_string());
      return wxID_OK;
    }
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
  size_t next = 0;
  std::vector<std::string> shown, preselected;
};
