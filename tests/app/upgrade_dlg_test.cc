// The upgrade utility's start-up and its dialog under X, driven from inside its
// modal loop, over the real vendor site and installer.
#include "app/upgrade_dlg.h"

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <sys/stat.h>

#include <filesystem>

#include "app/change_history_load.h"
#include "app/upgrade_app.h"
#include "platform/profile.h"
#include "tests/e2e/vendor_site.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/gui/popup_menu_driver.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

struct TestUpgradeApp : CZORMUpgradeApp {
  bool OnInit() override { return true; }  // the test runs the start-up itself
};

struct Typist : wxTimer {  // types a whole path over a save dialog's name, then Enter
  void Notify() override {
    wxUIActionSimulator keys;
    keys.Char('a', wxMOD_CONTROL) && keys.Text(path.c_str()) && keys.Char(WXK_RETURN);
  }
  std::string path;
};

// Runs `script` in the upgrade dialog's modal loop; notes each message box in `shown`
// ("caption|text|style") and answers it with OK (Yes to "Selection Required"); exports
// the list as CSV to typist.path. Any other modal dialog fails.
struct DialogScript : wxModalDialogHook {
  DialogScript(std::vector<std::string>& shown, std::function<void(CZORMUpgradeDlg&)> script)
      : shown(shown), script(std::move(script)) {
    Register();
  }
  ~DialogScript() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
      const long style = box->GetMessageDialogStyle() & (wxOK | wxCANCEL | wxYES_NO | wxICON_MASK);
      shown.push_back((box->GetTitle() + "|" + box->GetMessage() + "|").utf8_string() +
                      std::to_string(style));
      return box->GetTitle() == "Selection Required" ? wxID_YES : wxID_OK;
    }
    if (dialog->GetTitle() == "Export Type Selection") {  // CSV, opened when written
      for (wxWindow* child : dialog->GetChildren())
        if (child->GetLabel() == "Comma Delimited File (CSV)")
          static_cast<wxRadioButton*>(child)->SetValue(true);
      return wxID_OK;
    }
    if (dynamic_cast<wxFileDialog*>(dialog)) {  // shown for real: a path typed, then Enter
      typist.StartOnce(1500);
      return wxID_NONE;
    }
    auto* upgrade = dynamic_cast<CZORMUpgradeDlg*>(dialog);
    EXPECT_NE(upgrade, nullptr) << "unexpected modal dialog " << dialog->GetTitle();
    if (upgrade) upgrade->CallAfter([this, upgrade] { script(*upgrade); });
    return upgrade ? wxID_NONE : wxID_CANCEL;  // shown for real
  }

  void Exit(wxDialog*) override {}

  std::vector<std::string>& shown;
  std::function<void(CZORMUpgradeDlg&)> script;
  Typist typist;
};

TEST(UpgradeDialogTest, ShowsSummaryAndHistoryAndUpgradeInstallsWithTheValuesInTheGrid) {
  ScopedTestHome home;
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  home.SetEnv("ZORMVENDORSERVER", site.host_port().c_str());
  home.SetEnv("ZORMUPDATESERVER", site.host_port().c_str());
  struct tm noon = {0, 0, 12, 10, 6, 121, 0, 0, -1};  // 10 July 2021, local time
  ScopedFixedTime now(mktime(&noon));
  const std::string not_msi = home.path() + "/not-a-package.msi",
                    target = home.path() + "/chosen place";
  ASSERT_TRUE(WriteWholeFile(not_msi, "just some text\n"));

  const std::string opened = home.path() + "/opened", xdg_open = home.path() + "/xdg-open";
  ASSERT_TRUE(WriteWholeFile(xdg_open, "#!/bin/sh\necho \"$@\" >" + opened));
  chmod(xdg_open.c_str(), 0755);
  home.SetEnv("PATH", (home.path() + ":" + getenv("PATH")).c_str());
  std::vector<std::string> shown;
  DialogScript script(shown, [&](CZORMUpgradeDlg& dialog) {
    for (auto it = dialog.m_wndPropertyGrid.GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it) {
      shown.push_back((*it)->GetLabel().utf8_string());
      if (!(*it)->IsCategory() && (*it)->GetChildCount() == 0)
        shown.back() += "=" + (*it)->GetValueAsString().utf8_string();
    }
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_IMAGE);
    for (int column = 0; column < dialog.m_wndList.GetColumnCount(); ++column) {
      dialog.m_wndList.GetColumn(column, item);
      shown.push_back(item.GetText().utf8_string());
    }
    for (long row = 0; row < dialog.m_wndList.GetItemCount(); ++row) {
      item.SetId(row);
      item.SetColumn(0);
      dialog.m_wndList.GetItem(item);
      shown.push_back(std::to_string(item.GetImage()));
      for (int column = 0; column < 3; ++column)
        shown.back() += "|" + dialog.m_wndList.GetItemText(row, column).utf8_string();
    }
    shown.push_back(dialog.GetTitle().utf8_string());
    for (size_t i = 0; i < dialog.GetIcons().GetIconCount(); ++i)
      shown.back() += " " + std::to_string(dialog.GetIcons().GetIconByIndex(i).GetWidth());
    // Laid out in dialog units.
    EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(663, 315)));
    EXPECT_EQ(dialog.m_wndList.GetRect(), wxRect(dialog.ConvertDialogToPixels(wxPoint(7, 92)),
                                                 dialog.ConvertDialogToPixels(wxSize(649, 197))));
    DrivePopupMenu([&] {  // the list's context menu: "&Export"
      wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, dialog.m_wndList.GetId(), wxDefaultPosition);
      dialog.m_wndList.GetEventHandler()->ProcessEvent(menu);
    }, {"Export"});
    EXPECT_TRUE(WaitFor([&] { return !ReadWholeFile(opened).empty(); }));
    const std::string csv = ReadWholeFile(script.typist.path);  // a header line and 4 rows
    shown.push_back(ReadWholeFile(opened) + csv.substr(0, 54) + " " +
                    std::to_string(std::count(csv.begin(), csv.end(), '\n')));
    wxCommandEvent upgrade(wxEVT_BUTTON, CZORMUpgradeDlg::IDC_UPGRADE);
    dialog.FindWindow(upgrade.GetId())->ProcessWindowEvent(upgrade);  // a click on "&Upgrade"
    dialog.m_request.package = std::string(ZORM_TEST_PACKAGES) + "/abc_v1.msi";
    dialog.m_wndPropertyGrid.ChangePropertyValue(dialog.m_pPropMSIProperties,
                                                 wxString("INSTALLDIR=\"" + target + "\""));
    dialog.FindWindow(upgrade.GetId())->ProcessWindowEvent(upgrade);
    shown.push_back(dialog.IsModal() ? "still open" : "closed");
    if (dialog.IsModal()) dialog.EndModal(wxID_ABORT);
  });
  script.typist.path = home.path() + "/history.csv";
  const char* const argv[] = {"calvaro-upgrade", "ABC", "Jul 5 2021", not_msi.c_str()};
  CCommandLineInfoEx command_line;
  ParseCommandLine(4, argv, command_line);  // as main does
  auto* app = static_cast<TestUpgradeApp*>(wxTheApp);
  app->m_request = UpgradeRequestFrom(command_line);
  EXPECT_FALSE(app->InitInstance());

  EXPECT_EQ(
      shown,
      (std::vector<std::string>{
          "URL=" + not_msi, "Module=ABC", "Old Version", "Built=Monday, July 05, 2021",
          "Age=5 days ago", "Install Options", "MSI Properties=", "Type", "Date", "Description",
          "1|Enhancement|2021-07-06|Scanning a warehouse takes half the time it did",
          "0|Fix|2021-06-28|Negative totals no longer print as 0 & are shown in red",
          "1|Enhancement|2021-05-17|Labels print accented names: Caf\xC3\xA9 Z\xC3\xBCrich, "
          "\xC3\x86r\xC3\xB8, \xC5\x81\xC3\xB3"
          "d\xC5\xBA, \xE6\x9D\xB1\xE4\xBA\xAC",
          "0|Fix|2021-04-01|Dialog texts reworded", "Calvaro Upgrade Utility 16 32 48",
          "Selection Required|This operation requires you to have at least one item selected."
          "\n\nWould you like to select all items?|" + std::to_string(wxYES_NO | wxICON_QUESTION),
          home.path() + "/history.csv\nType,Date,Description\r\nEnhancement,2021-07-06,Scanning 4",

          "Install Error|Windows Installer returned code: 1620|" +
              std::to_string(wxOK | wxICON_INFORMATION),
          "closed"}));
  EXPECT_TRUE(std::filesystem::exists(target + "/alpha.txt"));
}

// What the operator sees keeps its order when the feed is fetched early and fails:
// the start-up message, then the feed's own error under the application's name
// at the dialog's step; the dialog then works without the list.
TEST(UpgradeDialogTest, StartMessageComesFirstAndAFailedFeedLeavesTheDialogUsable) {
  ScopedTestHome home;
  home.SetEnv("ZORMVENDORSERVER", "127.0.0.1:1");
  home.SetEnv("ZORMUPDATESERVER", "127.0.0.1:1");
  ASSERT_TRUE(WriteProfileString("Options", "StartMessage", "Back at noon."));
  StartChangeHistoryLoad("ABC");  // as main does, before the user interface starts
  std::vector<std::string> shown;
  DialogScript script(shown, [&](CZORMUpgradeDlg& dialog) {
    shown.push_back(std::to_string(dialog.m_wndList.GetColumnCount()) + " columns");
    wxCommandEvent upgrade(wxEVT_BUTTON, CZORMUpgradeDlg::IDC_UPGRADE);
    dialog.FindWindow(upgrade.GetId())->ProcessWindowEvent(upgrade);
    dialog.EndModal(wxID_CANCEL);
  });
  auto* app = static_cast<TestUpgradeApp*>(wxTheApp);
  app->m_request = UpgradeRequest{"ABC"};
  EXPECT_FALSE(app->InitInstance());
  const std::string info = std::to_string(wxOK | wxICON_INFORMATION);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Startup Message|Back at noon.|" + info,
                       "upgrade_gui_test|A connection with the server could not be established "
                       "(http://127.0.0.1:1/cgi/changelog.cgi?Module=ABC)|" +
                           std::to_string(wxOK | wxICON_ERROR),
                       "0 columns", "Install Error|Windows Installer returned code: 1619|" + info}));
}

}  // namespace

int main(int argc, char** argv) { return RunGuiTests(argc, argv, new TestUpgradeApp); }
