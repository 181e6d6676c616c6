// The task dialog under X: driven by real key presses, answered by modal hooks.
#include "framework/task_dialog.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <functional>

#include "tests/gui/gui_test_runner.h"

namespace {

// With keys, shows each modal dialog and presses them, which must end it soon; with a
// script, runs it in place of showing the dialog and ends it with what it returns.
struct Driver : wxModalDialogHook {
  explicit Driver(std::vector<int> keys) : keys(keys) { Register(); }
  explicit Driver(std::function<int(wxDialog&)> f) : script(f) { Register(); }
  ~Driver() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (script) return script(*dialog);
    dialog->CallAfter([this, dialog] {
      WaitFor([&] { return dialog->IsShownOnScreen(); });
      dialog->Raise();  // without a window manager the keys go to the raised window
      Settle();
      for (int key : keys) wxUIActionSimulator().Char(key), Settle();
      if (!WaitFor([&] { return !dialog->IsModal(); })) dialog->EndModal(wxID_ABORT);
    });
    return wxID_NONE;
  }
  void Exit(wxDialog*) override {}
  std::vector<int> keys;
  std::function<int(wxDialog&)> script;
};

// A dialog like the list's export dialog, with the parts `parts` names: r radio
// buttons, i input box, c command button, d OK disabled, x no cancellation.
void Configure(CZORMTaskDialog& dlg, const std::string& parts) {
  const auto has = [&](char part) { return parts.find(part) != std::string::npos; };
  dlg.SetWindowTitle("Export");
  dlg.SetMainInstruction("Choose a format.");
  dlg.EnableCancellation(!has('x'));
  dlg.SetCommonButtons(true, false, false, true, false, false);
  dlg.SetVerificationText("Remember");
  for (int id = 0; has('r') && id < 3; ++id) dlg.AddRadioButton(std::string(1, 'A' + id), id);
  if (has('i')) dlg.AddInputBox(), dlg.SetInputBoxText("old");
  if (has('c')) dlg.AddButton("Select All", 4);
  if (has('d')) dlg.EnableButton(CZORMTaskDialog::kOk, false);
}

template <class T = wxWindow>
T* Find(wxDialog& dialog, const char* label) {  // an empty label finds the input box
  return dynamic_cast<T*>(*label ? wxWindow::FindWindowByLabel(label, &dialog)
                                 : wxWindow::FindWindowByName(wxTextCtrlNameStr, &dialog));
}

}  // namespace

TEST(TaskDialogTest, KeyboardEndsTheDialogWithTheButtonsId) {
  // what, the dialog's parts, keys, result, chosen radio id and input text
  const std::tuple<const char*, const char*, std::vector<int>, int, std::string> kCases[] = {
      {"Enter presses OK", "", {WXK_RETURN}, 1, "0"},
      {"Escape cancels", "", {WXK_ESCAPE}, 2, "0"},
      {"no cancellation: Escape does nothing", "x", {WXK_ESCAPE, WXK_RETURN}, 1, "0"},
      {"Down chooses the next radio", "r", {WXK_DOWN, WXK_RETURN}, 1, "1"},
      {"typing replaces the input's text", "i", {'n', 'e', 'w', WXK_RETURN}, 1, "0new"},
      {"Tab wraps from OK past the check box", "c", {WXK_TAB, WXK_TAB, WXK_SPACE}, 4, "0"},
      {"Enter on a disabled OK does nothing", "d", {WXK_RETURN, WXK_ESCAPE}, 2, "0"},
  };
  for (const auto& [what, parts, keys, result, chosen] : kCases) {
    SCOPED_TRACE(what);
    CZORMTaskDialog dlg(nullptr);
    Configure(dlg, parts);
    Driver driver(keys);
    EXPECT_EQ(result, dlg.DoModal());
    EXPECT_EQ(chosen, std::to_string(dlg.GetSelectedRadioButtonId()) + dlg.GetInputBoxText());
  }
}

// One object shown three times, answered by a hook: each showing starts from what the last
// ended with, names its controls for screen readers (ATK), and its answer reaches the caller.
TEST(TaskDialogTest, ShowingAgainKeepsTheChoicesAndMapsTheAnswer) {
  const std::pair<int, int> kAnswers[] = {{wxID_OK, 1}, {wxID_CANCEL, 2}, {4, 4}};
  CZORMTaskDialog dlg(nullptr);
  Configure(dlg, "ric");
  wxString shown;  // per showing: input, "C" chosen, ticked, OK enabled
  const auto* answer = kAnswers;
  Driver driver([&](wxDialog& w) {
    auto* input = Find<wxTextCtrl>(w, "");
    auto* check = Find<wxCheckBox>(w, "Remember");
    const std::pair<wxWindow*, const char*> kNames[] = {
        {&w, "Export"},      {w.FindWindow(wxID_OK), "OK"}, {w.FindWindow(wxID_CANCEL), "Cancel"},
        {Find(w, "B"), "B"}, {check, "Remember"},           {input, "Choose a format."}};
    for (const auto& [window, name] : kNames)
      EXPECT_STREQ(name, atk_object_get_name(gtk_widget_get_accessible(window->GetHandle())));
    shown << input->GetValue() << Find<wxRadioButton>(w, "C")->GetValue() << check->GetValue()
          << w.FindWindow(wxID_OK)->IsEnabled() << "|";
    input->AppendText("+");
    Find<wxRadioButton>(w, "C")->SetValue(true);
    check->SetValue(!check->GetValue());
    return (answer++)->first;
  });
  for (const auto& [id, result] : kAnswers) {
    SCOPED_TRACE(id);
    EXPECT_EQ(result, dlg.DoModal());
    dlg.EnableButton(CZORMTaskDialog::kOk, false);
  }
  EXPECT_EQ("old001|old+110|old++100|", shown.utf8_string());
  EXPECT_EQ("old+++", dlg.GetInputBoxText());
}
