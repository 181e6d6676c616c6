// Test support for the upgrade dialog: runs the real dialog modally under the
// test's X server and drives it from inside its modal loop. Message boxes the
// program shows are answered with OK and recorded; any other modal dialog fails
// the test.
#pragma once

#include <wx/modalhook.h>

#include <functional>
#include <string>
#include <vector>

class CZORMUpgradeDlg;
class wxDialog;

// A message box as the program showed it.
struct ShownMessage {
  std::string caption;
  std::string text;
  long style = 0;
};

class UpgradeDialogDriver : public wxModalDialogHook {
 public:
  // The value ShowModal returns when the script left the dialog open.
  static constexpr int kLeftOpen = 7777;

  // `script` runs once the upgrade dialog is shown and initialised, inside its
  // modal loop. A dialog still open afterwards is ended with kLeftOpen.
  explicit UpgradeDialogDriver(std::function<void(CZORMUpgradeDlg&)> script);
  ~UpgradeDialogDriver() override;

  bool dialog_shown() const { return m_dialogShown; }
  const std::vector<ShownMessage>& messages() const { return m_messages; }
  // What the upgrade dialog's ShowModal returned; 0 until it has ended.
  int dialog_result() const { return m_dialogResult; }

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;

 private:
  std::function<void(CZORMUpgradeDlg&)> m_script;
  bool m_dialogShown = false;
  int m_dialogResult = 0;
  std::vector<ShownMessage> m_messages;
};

// Clicks the button `id` of `dialog` the way a mouse click does.
void ClickButton(wxDialog& dialog, int id);

// Every property of the dialog's grid in display order, as "Name=Value" (a
// group as its name alone).
std::vector<std::string> SummaryLines(CZORMUpgradeDlg& dialog);

// Row `row`, column `column` of the change-history list as the list shows it:
// the text and the image index.
std::string CellText(CZORMUpgradeDlg& dialog, long row, int column);
int RowImage(CZORMUpgradeDlg& dialog, long row);
