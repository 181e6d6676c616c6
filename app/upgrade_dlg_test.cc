// The upgrade utility as the operator meets it: the real dialog under X, the real
// vendor site on lighttpd, real packages built by wixl, the real installer.
#include "app/upgrade_dlg.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wx/eventfilter.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>

#include <filesystem>

#include "app/feed_fetch.h"
#include "app/upgrade_gui_test_main.h"
#include "app/upgrade_test_driver.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

namespace fs = std::filesystem;

const std::string kPackages = ZORM_TEST_PACKAGES;
const std::string kPackage = kPackages + "/abc_v1.msi";

// A module whose history is enhancement, fix, enhancement, newest first.
const char kTrioSql[] =
    "INSERT INTO module VALUES ('TRIO', 'Trio', 'Three changes');\n"
    "INSERT INTO change (module, title, description, published) VALUES\n"
    "  ('TRIO', 'E1 Quicker start', 'Starts in half the time', '2021-07-03 10:00:00'),\n"
    "  ('TRIO', 'F2 Totals', 'Totals add up again', '2021-07-02 10:00:00'),\n"
    "  ('TRIO', 'E3 Colour labels', 'Labels print in colour', '2021-07-01 10:00:00');\n";

// 10 July 2021, 12:00 local time.
time_t TenthOfJulyNoon() {
  struct tm when = {};
  when.tm_year = 121;
  when.tm_mon = 6;
  when.tm_mday = 10;
  when.tm_hour = 12;
  when.tm_isdst = -1;
  return mktime(&when);
}

// A loopback port nobody listens on.
std::string ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

// The path of every file named `name` below `folder`.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& name) {
  std::vector<std::string> found;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
    if (it->path().filename() == name) found.push_back(it->path());
  return found;
}

std::vector<std::string> Headings(CZORMUpgradeDlg& dialog) {
  std::vector<std::string> headings;
  for (int i = 0; i < dialog.m_wndList.GetColumnCount(); ++i) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT);
    dialog.m_wndList.GetColumn(i, column);
    headings.push_back(std::string(column.GetText().utf8_str()));
  }
  return headings;
}

class UpgradeDialogTest : public testing::Test {
 protected:
  void StartSite(VendorSite::Options options) {
    site_ = std::make_unique<VendorSite>(std::move(options));
    std::string error;
    ASSERT_TRUE(site_->Start(&error)) << error;
    home_.SetEnv("ZORMVENDORSERVER", site_->host_port().c_str());
    home_.SetEnv("ZORMUPDATESERVER", site_->host_port().c_str());
  }
  void SetUp() override { StartSite({true, kTrioSql, {}}); }

  ScopedTestHome home_;
  std::unique_ptr<VendorSite> site_;
};

TEST_F(UpgradeDialogTest, ShowsTheSummaryAndTheChangeHistoryInDocumentOrder) {
  ScopedFixedTime now(TenthOfJulyNoon());
  std::vector<std::string> summary;
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;
  std::vector<int> images;
  int description_width = 0;
  std::vector<int> tab_order;
  UpgradeDialogDriver driver([&](CZORMUpgradeDlg& dialog) {
    summary = SummaryLines(dialog);
    headings = Headings(dialog);
    for (long row = 0; row < dialog.m_wndList.GetItemCount(); ++row) {
      rows.push_back(
          {CellText(dialog, row, 0), CellText(dialog, row, 1), CellText(dialog, row, 2)});
      images.push_back(RowImage(dialog, row));
    }
    if (headings.size() == 3) description_width = dialog.m_wndList.GetColumnWidth(2);
    for (wxWindow* child : dialog.GetChildren()) tab_order.push_back(child->GetId());
    EXPECT_EQ(dialog.GetTitle(), "Calvaro Upgrade Utility");
    EXPECT_TRUE(dialog.m_hIcon.IsOk());
    EXPECT_EQ(dialog.m_imageList.GetImageCount(), 2);
    EXPECT_EQ(dialog.m_imageList.GetSize(), wxSize(16, 16));
    // Laid out in dialog units; resizing moves nothing.
    EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(663, 315)));
    EXPECT_EQ(dialog.m_wndList.GetRect(),
              wxRect(dialog.ConvertDialogToPixels(wxPoint(7, 92)),
                     dialog.ConvertDialogToPixels(wxSize(649, 197))));
    std::vector<wxRect> before, after;
    for (wxWindow* child : dialog.GetChildren()) before.push_back(child->GetRect());
    dialog.SetClientSize(dialog.GetClientSize() + wxSize(150, 90));
    for (wxWindow* child : dialog.GetChildren()) after.push_back(child->GetRect());
    EXPECT_EQ(before, after);
    dialog.SetClientSize(dialog.ConvertDialogToPixels(wxSize(663, 315)));
    if (const char* folder = getenv("ZORM_SCREENSHOT_DIR")) {
      dialog.Update();
      wxYield();
      const std::string command =
          std::string("import -window root '") + folder + "/upgrade-dialog.png'";
      EXPECT_EQ(0, system(command.c_str()));
    }
  });
  EXPECT_FALSE(TestApp().RunWith({"TRIO", "Jul 5 2021", "/home/op/abc.msi"}));

  ASSERT_TRUE(driver.dialog_shown());
  EXPECT_TRUE(driver.messages().empty());
  ASSERT_FALSE(TestApp().framework_calls.empty());
  EXPECT_EQ(TestApp().framework_calls.back().title, "Calvaro Upgrade Utility");
  EXPECT_EQ(TestApp().framework_calls.back().about_bitmap_id, 0u);
  EXPECT_EQ(TestApp().framework_calls.back().build_date, "Jul  5 2021");
  EXPECT_EQ(summary, (std::vector<std::string>{"URL=/home/op/abc.msi", "Module=TRIO", "Old Version",
                                               "Built=Monday, July 05, 2021", "Age=5 days ago",
                                               "Install Options", "MSI Properties="}));
  EXPECT_EQ(headings, (std::vector<std::string>{"Type", "Date", "Description"}));
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                      {"Enhancement", "2021-07-03", "Starts in half the time"},
                      {"Fix", "2021-07-02", "Totals add up again"},
                      {"Enhancement", "2021-07-01", "Labels print in colour"}}));
  EXPECT_EQ(images, (std::vector<int>{1, 0, 1}));  // star, ladybird, star
  EXPECT_GT(description_width, 100);               // fitted to the descriptions
  EXPECT_EQ(tab_order, (std::vector<int>{1, 2, 1001, 1000}));
  EXPECT_EQ(driver.dialog_result(), UpgradeDialogDriver::kLeftOpen);
}

TEST_F(UpgradeDialogTest, CommandLineFillsTheSummaryWhateverIsMissingOrExtra) {
  ScopedFixedTime now(TenthOfJulyNoon());
  struct {
    std::vector<std::string> arguments;
    std::vector<std::string> summary;
  } cases[] = {
      {{"-ABC", "Jul 5 2021", "/home/op/abc.msi", "-x", "extra"},
       {"URL=/home/op/abc.msi", "Module=ABC", "Old Version", "Built=Monday, July 05, 2021",
        "Age=5 days ago", "Install Options", "MSI Properties="}},
      {{"LEDGER", "Jul 9 2021 18:00"},
       {"URL=", "Module=LEDGER", "Old Version", "Built=Friday, July 09, 2021", "Age=0 days ago",
        "Install Options", "MSI Properties="}},
      {{"ABC", "not a date", "/p.msi"},
       {"URL=/p.msi", "Module=ABC", "Old Version", "Built=Invalid DateTime", "Age=44387 days ago",
        "Install Options", "MSI Properties="}},
      {{},
       {"URL=", "Module=", "Old Version", "Built=Saturday, December 30, 1899", "Age=44387 days ago",
        "Install Options", "MSI Properties="}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> summary;
    UpgradeDialogDriver driver([&](CZORMUpgradeDlg& dialog) { summary = SummaryLines(dialog); });
    EXPECT_FALSE(TestApp().RunWith(c.arguments));
    EXPECT_TRUE(driver.dialog_shown());
    EXPECT_EQ(summary, c.summary) << testing::PrintToString(c.arguments);
  }
}

TEST_F(UpgradeDialogTest, UnparseableDateShowsInvalidAndLongDescriptionsAreCut) {
  // A server that writes its zone as a number leaves a stray "+" in the date.
  std::string long_description;
  for (int i = 0; i < 300; ++i) long_description += "\xC3\xA9";  // é, two bytes each
  site_.reset();
  StartSite({true,
             "",
             {{"changelog.cgi",
               "printf 'Content-Type: application/rss+xml\\r\\n\\r\\n'\n"
               "cat <<'RSS'\n"
               "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>x</title>\n"
               "<item><title>F7 Zone</title><description>Numeric zone</description>"
               "<pubDate>Mon, 05 Jul 2021 12:00:00 +0000</pubDate></item>\n"
               "<item><title>E8 Long</title><description>" +
                   long_description +
                   "</description><pubDate>Tue, 06 Jul 2021 09:30:00 GMT</pubDate></item>\n"
                   "</channel></rss>\n"
                   "RSS\n"}}});
  std::vector<std::vector<std::string>> rows;
  UpgradeDialogDriver driver([&](CZORMUpgradeDlg& dialog) {
    for (long row = 0; row < dialog.m_wndList.GetItemCount(); ++row)
      rows.push_back(
          {CellText(dialog, row, 0), CellText(dialog, row, 1), CellText(dialog, row, 2)});
  });
  TestApp().RunWith({"ODD", "Jul 5 2021", ""});
  EXPECT_TRUE(driver.messages().empty());
  // 259 bytes fit the list's text buffer: 129 whole characters, never half of one.
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                      {"Fix", "Invalid DateTime", "Numeric zone"},
                      {"Enhancement", "2021-07-06", long_description.substr(0, 258)}}));
}

TEST_F(UpgradeDialogTest, FeedFailureIsShownAndTheUpgradeStillInstalls) {
  const std::string closed = ClosedPort();
  home_.SetEnv("ZORMVENDORSERVER", closed.c_str());
  std::string expected_text;
  try {
    FetchFeed("TRIO");
  } catch (const InternetError& error) {
    expected_text = error.what();
  }
  ASSERT_FALSE(expected_text.empty());

  int columns = -1;
  size_t messages_before_upgrade = 0;
  UpgradeDialogDriver* seen = nullptr;
  UpgradeDialogDriver driver([&](CZORMUpgradeDlg& dialog) {
    columns = dialog.m_wndList.GetColumnCount();
    messages_before_upgrade = seen->messages().size();
    ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE);
  });
  seen = &driver;
  TestApp().RunWith({"TRIO", "Jul 5 2021", kPackage});

  EXPECT_EQ(columns, 0);
  EXPECT_EQ(messages_before_upgrade, 1u);
  ASSERT_EQ(driver.messages().size(), 1u);
  EXPECT_EQ(driver.messages()[0].caption, "Calvaro Upgrade Utility");
  EXPECT_EQ(driver.messages()[0].text, expected_text);
  EXPECT_TRUE(driver.messages()[0].style & wxICON_ERROR);
  EXPECT_EQ(driver.dialog_result(), wxID_OK);
  EXPECT_EQ(FindFiles(home_.data_home(), "alpha.txt").size(), 1u);
  EXPECT_EQ(FindFiles(home_.data_home(), "beta.txt").size(), 1u);
}

TEST_F(UpgradeDialogTest, FailedInstallKeepsTheDialogAndRetriesWithTheCurrentValues) {
  const std::string not_msi = home_.path() + "/not-a-package.msi";
  ASSERT_TRUE(WriteWholeFile(not_msi, "just some text\n"));
  const std::string target = home_.path() + "/chosen place";
  std::vector<bool> open_after;
  UpgradeDialogDriver driver([&](CZORMUpgradeDlg& dialog) {
    ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE);  // not a package
    open_after.push_back(dialog.IsModal());
    dialog.m_pPropURL->SetValue(wxString(home_.path() + "/missing.msi"));
    ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE);  // no such file
    open_after.push_back(dialog.IsModal());
    dialog.m_pPropURL->SetValue(wxString(kPackage));
    dialog.m_wndPropertyGrid.ChangePropertyValue(dialog.m_pPropMSIProperties,
                                                 wxString("INSTALLDIR=\"unclosed"));
    ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE);  // properties do not parse
    open_after.push_back(dialog.IsModal());
    dialog.m_wndPropertyGrid.ChangePropertyValue(dialog.m_pPropMSIProperties,
                                                 wxString("INSTALLDIR=\"" + target + "\""));
    ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE);
    open_after.push_back(dialog.IsModal());
  });
  TestApp().RunWith({"TRIO", "Jul 5 2021", not_msi});

  std::vector<std::string> texts;
  for (const ShownMessage& message : driver.messages()) {
    texts.push_back(message.text);
    EXPECT_EQ(message.caption, "Install Error");
    EXPECT_EQ(message.style & (wxOK | wxCANCEL | wxYES_NO | wxICON_MASK),
              wxOK | wxICON_INFORMATION);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Windows Installer returned code: 1620",
                                             "Windows Installer returned code: 1619",
                                             "Windows Installer returned code: 1639"}));
  EXPECT_EQ(open_after, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(driver.dialog_result(), wxID_OK);
  EXPECT_TRUE(fs::exists(target + "/alpha.txt"));
  EXPECT_TRUE(fs::exists(target + "/doc/beta.txt"));
  EXPECT_TRUE(FindFiles(home_.data_home(), "alpha.txt").empty());
}

// Presses "Cancel" in the install progress window as soon as the window is up,
// the way the operator's click reaches it while the installer runs.
class PressCancelInProgressWindow : public wxEventFilter {
 public:
  PressCancelInProgressWindow() { wxEvtHandler::AddFilter(this); }
  ~PressCancelInProgressWindow() override { wxEvtHandler::RemoveFilter(this); }
  bool pressed() const { return m_pressed; }

  int FilterEvent(wxEvent& event) override {
    auto* window = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (m_pressed || !window) return Event_Skip;
    auto* progress = dynamic_cast<wxGenericProgressDialog*>(wxGetTopLevelParent(window));
    if (!progress || !progress->IsShown()) return Event_Skip;
    wxWindow* cancel = progress->FindWindow(wxID_CANCEL);
    if (!cancel) return Event_Skip;
    m_pressed = true;
    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
    click.SetEventObject(cancel);
    cancel->ProcessWindowEvent(click);
    return Event_Skip;
  }

 private:
  bool m_pressed = false;
};

TEST_F(UpgradeDialogTest, CancelInTheProgressWindowStopsTheInstallWith1602) {
  PressCancelInProgressWindow operator_cancels;
  UpgradeDialogDriver driver(
      [&](CZORMUpgradeDlg& dialog) { ClickButton(dialog, CZORMUpgradeDlg::IDC_UPGRADE); });
  TestApp().RunWith({"TRIO", "Jul 5 2021", kPackage});

  EXPECT_TRUE(operator_cancels.pressed());
  ASSERT_EQ(driver.messages().size(), 1u);
  EXPECT_EQ(driver.messages()[0].text, "Windows Installer returned code: 1602");
  EXPECT_EQ(driver.dialog_result(), UpgradeDialogDriver::kLeftOpen);
  EXPECT_TRUE(FindFiles(home_.data_home(), "alpha.txt").empty());
}

TEST_F(UpgradeDialogTest, CancelAndEscapeEndTheDialogWithoutInstalling) {
  std::function<void(CZORMUpgradeDlg&)> ways[] = {
      [](CZORMUpgradeDlg& dialog) { ClickButton(dialog, CZORMUpgradeDlg::IDC_CANCEL); },
      [](CZORMUpgradeDlg& dialog) {
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(dialog.FindWindow(CZORMUpgradeDlg::IDC_UPGRADE));
        dialog.FindWindow(CZORMUpgradeDlg::IDC_UPGRADE)->ProcessWindowEvent(escape);
      },
  };
  for (const auto& way : ways) {
    UpgradeDialogDriver driver(way);
    EXPECT_FALSE(TestApp().RunWith({"TRIO", "Jul 5 2021", kPackage}));
    EXPECT_EQ(driver.dialog_result(), wxID_CANCEL);
    EXPECT_TRUE(driver.messages().empty());
  }
  EXPECT_TRUE(FindFiles(home_.data_home(), "alpha.txt").empty());
}

}  // namespace
