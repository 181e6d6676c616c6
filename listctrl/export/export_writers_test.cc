// The writers on real lists, their files read back by real readers.
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <wx/frame.h>
#include <wx/progdlg.h>
#include <wx/uiaction.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "listctrl/numbered_list_test.h"
#include "platform/profile.h"
#include "tests/gui/dialog_script.h"
#include "tests/support/test_env.h"

namespace {

struct ExportWritersTest : testing::Test {  // in a folder of its own, for the dialog's default too
  ExportWritersTest() { std::filesystem::current_path(home_.path()); }
  ~ExportWritersTest() override { frame_->Destroy(); std::filesystem::current_path(cwd_); }
  const std::filesystem::path cwd_ = std::filesystem::current_path();
  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Export", wxPoint(0, 0), wxSize(500, 300));
};

TEST_F(ExportWritersTest, FilesReadBackAsTheSelectedRows) {
  const char* kCells[4][3] = {{"Name, First", "Skip", "Q \"\xE2\x82\xAC\""},  // the headers
                              {"a,b", "x0", "say \"hi\" `ls` 5%s"}, {"-", "x1", "-"},
                              {"", "x2", " Zo\xC3\xAB\t,\r\n<&>' "}};
  auto* list = new NumberedList(frame_, wxLC_REPORT, 0);
  for (int column = 0; column < 3; ++column) list->AppendColumn(wxString::FromUTF8(kCells[0][column]));
  for (long row = 0; row < 9; ++row) {
    const wxString text = wxString::FromUTF8(kCells[row / 3 + 1][row % 3]);
    list->SetItem(row % 3 ? row / 3 : list->InsertItem(row / 3, ""), int(row % 3), text);
  }
  for (long row : {0, 2}) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  list->ExcludeColumnFromExport(1);
  list->SetReportNotes("50% off %d");
  ASSERT_TRUE(list->WriteCSVFile("o.csv") && list->WriteXMLFile("o.xml"));
  EXPECT_EQ(ReadWholeFile("o.csv"),
            "Name, First,Skip,Q \"\xE2\x82\xAC\"\r\n\"a,b\",x0,say \"\"hi\"\" `ls` 5%s\r\n"
            ",x2,\" Zo\xC3\xAB\t,\r\n<&>' \"");
  WriteWholeFile("c.py", R"(import csv, sys
sys.stdout.buffer.write("".join("|".join(r) + "/" for r in csv.reader(open(sys.argv[1], newline=""))).encode()))");
  EXPECT_EQ(std::system("python3 c.py o.csv > c") ? "" : ReadWholeFile("c"),  // as Python's csv reads it
            "Name| First|Skip|Q \"\xE2\x82\xAC\"/a,b|x0|say \"\"hi\"\" `ls` 5%s/|x2| Zo\xC3\xAB\t,\r\n<&>' /");
  EXPECT_THAT(ReadWholeFile("o.xml"), testing::MatchesRegex(  // its lines: CR LF
                  "<\\?xml version=\"1.0\" encoding=\"ISO-8859-1\"\\?>\r\n<ZORMXML>\r\n"
                  "([^\r\n]*\r\n){10}</ZORMXML>\r\n"));
  WriteWholeFile("x.py", R"(import sys, xml.etree.ElementTree as E
for x in E.parse(sys.argv[1]).getroot(): print("".join(f.get("name") + "=" + (f.text or "") + "|" for f in x), end="/"))");
  EXPECT_EQ(std::system("python3 x.py o.xml > x") ? "" : ReadWholeFile("x"),  // by ElementTree
            "Name, First=a,b|Skip=x0|Q \"\xE2\x82\xAC\"=say \"hi\" `ls` 5%s|/Name, First=|Skip=x2|Q \"\xE2\x82\xAC\"= Zo\xC3\xAB\t,\r\n<&>' |/");
  ASSERT_TRUE(list->ExportText("Change History", "o.txt", ExportAction::None));
  EXPECT_THAT(ReadWholeFile("o.txt"),  // the record taken literally, no excluded cell
              testing::MatchesRegex(".*Change History\n *Report Notes: 50% off %d\n.*\n"
                                    "a,b  *say \"hi\" `ls` 5%s *\n[^x]*"));
  ASSERT_TRUE(list->ExportJSON("Export", "o.json", ExportAction::None));
  EXPECT_THAT(ReadWholeFile("o.json"),  // a record as cJSON prints it, its values trimmed
              testing::HasSubstr("\"name,-first\":\t\"\",\n\t\t\t\t\"q-\\\"\xE2\x82\xAC\\\"\":\t"
                                 "\"Zo\xC3\xAB\\t,\\r\\n<&>'\""));
  // A header of 300 characters goes out as its first 127, cut between characters.
  list->AppendColumn(wxString::FromUTF8(std::string(126, 'h') + "\xC3\xA9" + std::string(173, 't')));
  ASSERT_TRUE(list->WriteCSVFile("long.csv"));
  EXPECT_THAT(ReadWholeFile("long.csv"),
              testing::StartsWith("Name, First,Skip,Q \"\xE2\x82\xAC\"," + std::string(126, 'h') + "\xC3\xA9\r\n"));
}

TEST_F(ExportWritersTest, FailuresAndEmptyListsLeaveNoFileOrTheEarlierOne) {
  const std::pair<std::string, bool (*)(CZORMListCtrl*, const std::string&)> kWriters[] = {
      {"csv", [](CZORMListCtrl* l, const std::string& p) { return l->WriteCSVFile(p); }},
      {"xml", [](CZORMListCtrl* l, const std::string& p) { return l->WriteXMLFile(p); }},
      {"txt", [](CZORMListCtrl* l, const std::string& p) { return l->ExportText("", p, ExportAction::None); }},
      {"json", [](CZORMListCtrl* l, const std::string& p) { return l->ExportJSON("", p, ExportAction::None); }}};
  const std::string open = ProfileApplicationName() + "|Failed to open output file", none;
  const std::string full = "Export Error|Failed to write output file: File too large";
  // Columns, rows, folder, message, the file afterwards where "old" was.
  const std::tuple<int, long, std::string, std::string, std::string> kCases[] = {
      {3, 20000, "no/", open, ""}, {3, 20000, "", full, "old"}, {0, 5, "", none, "old"},
      {3, 0, "", none, "old"}, {1, 1, "", none, "Column 0\r\nR0 C0"}};
  struct rlimit saved, limit;
  getrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
  for (const auto& [columns, rows, folder, shown, file] : kCases) {
    for (const auto& [ext, write] : kWriters) {
      SCOPED_TRACE(ext + " " + shown + file);
      auto* list = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, columns);
      list->SetItemCount(rows);
      list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
      list->ExcludeColumnFromExport(0);  // all the report-based exports could show
      const std::string path = folder + "f." + ext;
      WriteWholeFile(path, "old");
      DialogScript script({});
      limit = {shown == full ? 64 << 10 : saved.rlim_cur, saved.rlim_max};
      setrlimit(RLIMIT_FSIZE, &limit);
      EXPECT_EQ(write(list, path), file.size() > 3);
      setrlimit(RLIMIT_FSIZE, &saved);
      EXPECT_EQ(script.shown, shown.empty() ? std::vector<std::string>{} : std::vector{shown});
      EXPECT_TRUE((ext != "csv" && file.size() > 3) || ReadWholeFile(path) == file);
    }
  }
}

// A list that takes a second to read: its export shows the progress dialog, whose
// Cancel the list presses with the pointer once it is up.
struct SlowList : NumberedList {
  using NumberedList::NumberedList;
  std::string GetExportCellText(long row, int column) const override {
    wxMilliSleep(1);
    for (wxWindow* window : wxTopLevelWindows) {
      auto* cancel = dynamic_cast<wxGenericProgressDialog*>(window) ? window->FindWindow(wxID_CANCEL) : nullptr;
      if (cancel != nullptr && !pressed && cancel->IsShownOnScreen()) {
        wxUIActionSimulator().MouseMove(cancel->GetScreenRect().GetPosition() + wxPoint(5, 5));
        wxUIActionSimulator().MouseClick();
        pressed = true;
      }
    }
    return NumberedList::GetExportCellText(row, column);
  }
  mutable bool pressed = false;
};

TEST_F(ExportWritersTest, CancelledLongExportLeavesNothing) {
  auto* list = new SlowList(frame_, wxLC_REPORT | wxLC_VIRTUAL, 1);
  frame_->Show();
  list->SetItemCount(3000);
  list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  const auto files = [] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) names.push_back(entry.path());
    return names;
  };
  const std::vector<std::string> before = files();
  EXPECT_FALSE(list->WriteCSVFile("long.csv"));
  EXPECT_TRUE(list->pressed);
  EXPECT_EQ(files(), before);  // neither the file nor a partial one
}

// The GTK save dialog by keys, which go to the window under the pointer (no window manager).
TEST_F(ExportWritersTest, SaveDialogAsksBeforeReplacingTheTypedName) {
  auto* list = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, 1);
  list->SetItemCount(1);
  WriteWholeFile("typed.csv", "old");
  for (std::string answer : {"Escape sleep 1 key Escape", "Return"}) {
    const std::string script = "until W=$(xdotool search --onlyvisible --name 'Select a file' "
        "| head -1) && [ $W ]; do sleep 0.2; done; sleep 1; eval $(xdotool getwindowgeometry "
        "--shell $W); xdotool mousemove --window $W 400 25 click 1 key ctrl+a type typed.csv; "
        "xdotool key Return; sleep 3; xdotool mousemove --window $W $((WIDTH/2)) $((HEIGHT/2)) "
        "key " + answer;
    std::thread keys(std::system, script.c_str());
    list->ExportCSV(ExportAction::None);
    keys.join();
    EXPECT_EQ(ReadWholeFile("typed.csv"), answer == "Return" ? "Column 0" : "old");
  }
}

}  // namespace
