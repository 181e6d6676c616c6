#include "listctrl/export/export_dispatcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <chrono>
#include <sstream>

#include "listctrl/numbered_list_test.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

struct ExportTest : testing::Test {
  NumberedList* MakeList(long rows, std::vector<long> selected = {}) {
    auto* list = new NumberedList(frame);
    list->SetItemCount(rows);
    for (long row : selected) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    list->SetFocus();
    return list;
  }
  void TearDown() override { frame->Destroy(); }
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
};

TEST_F(ExportTest, CtrlKeysAskForASelectionFirstAndPrintNeedsOne) {
  const std::string kAsk = "Selection Required|This operation requires you to have at least one "
                           "item selected.\n\nWould you like to select all items?";
  // key, rows, answer, questions, export dialogs, recipients ("Email"), rows selected after
  const std::tuple<char, long, int, size_t, size_t, bool, long> kCases[] = {
      {'E', 3, wxID_NO, 1, 0, false, 0}, {'E', 0, wxID_YES, 1, 0, false, 0},
      {'E', 3, wxID_YES, 1, 1, false, 3}, {'E', 3, wxID_YES, 1, 1, true, 3},
      {'P', 3, wxID_YES, 0, 0, false, 0}};
  frame->Show();
  for (const auto& [key, rows, answer, asked, dialogs, mail, selected] : kCases) {
    SCOPED_TRACE(testing::Message() << key << rows << " " << answer);
    NumberedList* list = MakeList(rows);
    if (mail) list->SetExportRecipients({"a@example.org"});
    DialogScript script({}, answer);
    wxUIActionSimulator().Char(key, wxMOD_CONTROL);
    Settle();
    EXPECT_EQ(std::vector<std::string>(asked, kAsk), script.shown);
    EXPECT_EQ(std::vector<long>(asked, wxYES_NO | wxICON_QUESTION), script.box_styles);
    std::vector<bool> email;  // offered by each export dialog
    for (const std::string& shown : script.described)
      email.push_back(shown.find("|Email|") != shown.npos);
    EXPECT_EQ(std::vector<bool>(dialogs, mail), email);
    EXPECT_EQ(selected, list->GetSelectedItemCount());
    list->Destroy();
  }
}

TEST_F(ExportTest, DialogOffersTheTypesAndSelectAllAndReturnsTheChoice) {
  const std::string kHead = "Export Type Selection|You can export this list to different formats."
                            "\nPlease select an export type:|",
                    kTypes = "Adobe Acrobat File (PDF)|Comma Delimited File (CSV)|JavaScript "
                             "Object Notation (JSON)|Email|Microsoft Excel|",
                    kTail = "XML File (XML)|[x]Open file when export is complete||The export "
                            "will contain ",
                    kOk = "|&Cancel|&OK(default)";
  // rows selected, answers, type * 10 + action (-1: cancelled), the dialog at each showing
  using Texts = std::vector<std::string>;
  const std::tuple<std::vector<long>, std::vector<Answer>, int, Texts> kCases[] = {
      {{0, 1, 2}, {{"", "Comma Delimited File (CSV)"}}, 11,
       {kHead + "*" + kTypes + "Text File|" + kTail + "3 selected records (of 3 available).|" +
        kOk}},
      {{1}, {{"", "Text File", true, kExportSelectAllButton}, {"", "", false}}, 32,
       {kHead + "*" + kTypes + "Text File|" + kTail +
            "1 selected records (of 3 available).||Select All" + kOk,
        kHead + kTypes + "*Text File|" + kTail +
            "3 selected records (of 3 available).||Select All(off)" + kOk}},
      {{0}, {{"", "", true, wxID_CANCEL}}, -1, {}}};
  for (const auto& [selected, answers, chosen, described] : kCases) {
    SCOPED_TRACE(testing::PrintToString(selected));
    NumberedList* list = MakeList(3, selected);
    DialogScript script(answers);
    ExportChoice choice;
    const bool ok = AskForExportType(*list, true, &choice);
    EXPECT_EQ(chosen, ok ? int(choice.type) * 10 + int(choice.action) : -1);
    EXPECT_EQ(described, ok ? script.described : described);
    list->Destroy();
  }
}

// The desktop's programs are scripts first on PATH noting their name, the time and
// their last argument.
TEST_F(ExportTest, FinishExportOpensASecondLaterAsksOrPrints) {
  const std::string kAsk = "Open File|Exported 7 records.\n\nWould you like to open the exported "
                           "CSV File?";
  // action, answer, program called, its delay at least and below
  const std::tuple<ExportAction, int, std::string, double, double> kCases[] = {
      {ExportAction::None, wxID_YES, "", 0, 0}, {ExportAction::AskToOpen, wxID_NO, "", 0, 0},
      {ExportAction::AskToOpen, wxID_YES, "xdg-open", 0.9, 3},
      {ExportAction::Open, wxID_YES, "xdg-open", 0.9, 3},
      {ExportAction::Print, wxID_YES, "lp", 0, 0.9}};
  ScopedTestHome home;
  const std::string log = home.path() + "/called", file = home.path() + "/x.csv";
  for (const std::string tool : {"/xdg-open", "/lp"}) {
    WriteWholeFile(home.path() + tool,
                   "#!/bin/sh\nfor a; do :; done\necho ${0##*/} $(date +%s.%N) $a >" + log);
    chmod((home.path() + tool).c_str(), 0755);
  }
  WriteWholeFile(file, "a\r\n");
  home.SetEnv("PATH", (home.path() + ":" + getenv("PATH")).c_str());
  for (const auto& [action, answer, called, at_least, below] : kCases) {
    SCOPED_TRACE(int(action));
    remove(log.c_str());
    DialogScript script({}, answer);
    NumberedList* list = MakeList(1);
    const auto start = std::chrono::system_clock::now();
    list->FinishExport("CSV", 7, file, action);
    list->Destroy();  // the file still opens
    WaitFor([&] { return std::chrono::system_clock::now() > start + std::chrono::seconds(2); });
    std::string tool, path;
    double when = 0;
    std::istringstream(ReadWholeFile(log)) >> tool >> when >> path;
    const double delay = when - std::chrono::duration<double>(start.time_since_epoch()).count();
    EXPECT_EQ(std::make_pair(called, called.empty() ? "" : file), std::make_pair(tool, path));
    EXPECT_TRUE(called.empty() || (delay >= at_least && delay < below)) << delay;
    const bool asks = action == ExportAction::AskToOpen;
    EXPECT_EQ(std::vector<std::string>(asks, kAsk), script.shown);
    EXPECT_EQ(std::vector<long>(asks, wxYES_NO | wxICON_NONE), script.box_styles);
  }
}

}  // namespace
