// The task dialog under X: driven by real key presses, answered by a modal hook, and
// read through ATK as screen readers read it.
#include "framework/task_dialog.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <functional>

#include "tests/gui/gui_test_runner.h"

namespace {

using Script = std::function<int(wxDialog&)>;

// Runs `script` on each modal dialog: on screen, after which the dialog must end (by
// the keys the script pressed) within WaitFor's time; or, with `show` false, instead
// of showing it, ending it with what the script returns.
struct Driver : wxModalDialogHook {
  Driver(Script script, bool show) : script(std::move(script)), show(show) { Register(); }
  ~Driver() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (!show) return script(*dialog);
    dialog->CallAfter([this, dialog] {
      if (WaitFor([&] { return dialog->IsShownOnScreen(); })) {
        dialog->Raise();  // without a window manager the keys go to the raised window
        Settle();
        script(*dialog);
      }
      if (!WaitFor([&] { return !dialog->IsModal(); })) dialog->EndModal(wxID_ABORT);
    });
    return wxID_NONE;
  }
  void Exit(wxDialog*) override {}
  Script script;
  bool show;
};

Script Press(std::vector<int> keys, Script check = nullptr) {
  return [=](wxDialog& dialog) {
    if (check) check(dialog);
    wxUIActionSimulator sim;
    for (int key : keys) sim.Char(key), Settle();
    return 0;
  };
}

// A dialog like the list's export dialog, with the parts a case asks for.
void Configure(CZORMTaskDialog& dlg, bool cancellation, bool radios, bool input, bool command) {
  dlg.SetWindowTitle("Export");
  dlg.SetMainInstruction("Choose a format.");
  dlg.SetContent("The export will contain the selected records.");
  dlg.EnableCancellation(cancellation);
  dlg.SetCommonButtons(true, false, false, true, false, false);
  dlg.SetFooterIcon(CZORMTaskDialog::FooterIcon::kApplication);
  for (int id = 0; radios && id < 3; ++id) dlg.AddRadioButton(std::vector{"Text", "CSV", "XML"}[id], id);
  if (input) dlg.AddInputBox(), dlg.SetInputBoxText("old");
  if (command) dlg.AddButton("Select All", 4);
}

template <class T> T* Child(wxDialog& dialog, const wxString& label = "") {
  for (wxWindow* child : dialog.GetChildren())
    if (auto* control = dynamic_cast<T*>(child); control && (label.empty() || label == child->GetLabel()))
      return control;
  return nullptr;
}

}  // namespace

TEST(TaskDialogTest, KeyboardEndsTheDialogWithTheButtonsId) {
  struct Case {
    const char* what;
    bool cancellation, radios, input, command;
    std::vector<int> keys;
    int result, radio;
    std::string text;
  };
  const Case kCases[] = {
      {"Enter presses OK", true, false, false, false, {WXK_RETURN}, 1, 0, ""},
      {"Escape cancels", true, false, false, false, {WXK_ESCAPE}, 2, 0, ""},
      {"Escape without cancellation does nothing", false, false, false, false, {WXK_ESCAPE, WXK_RETURN}, 1, 0, ""},
      {"Down chooses the next radio", true, true, false, false, {WXK_DOWN, WXK_RETURN}, 1, 1, ""},
      {"typing replaces the input's text", true, false, true, false, {'n', 'e', 'w', WXK_RETURN}, 1, 0, "new"},
      {"Tab wraps from OK to the command button", true, false, false, true, {WXK_TAB, WXK_SPACE}, 4, 0, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    CZORMTaskDialog dlg(nullptr);
    Configure(dlg, c.cancellation, c.radios, c.input, c.command);
    Driver driver(Press(c.keys), true);
    EXPECT_EQ(c.result, dlg.DoModal());
    EXPECT_EQ(c.radio, dlg.GetSelectedRadioButtonId());
    EXPECT_EQ(c.text, dlg.GetInputBoxText());
  }
}
