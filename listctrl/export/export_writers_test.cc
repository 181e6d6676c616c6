// The writers on real lists, their files read back by real readers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <wx/frame.h>

#include <csignal>
#include <thread>

#include "listctrl/numbered_list_test.h"
#include "platform/profile.h"
#include "tests/gui/dialog_script.h"
#include "tests/support/test_env.h"

namespace {

using Write = bool (*)(CZORMListCtrl*, const std::string&);
const std::pair<std::string, Write> kWriters[] = {
    {"csv", [](CZORMListCtrl* l, const std::string& p) { return l->WriteCSVFile(p); }},
    {"xml", [](CZORMListCtrl* l, const std::string& p) { return l->WriteXMLFile(p); }},
    {"txt", [](CZORMListCtrl* l, const std::string& p) { return l->ExportText("Ex", p, {}); }},
    {"json", [](CZORMListCtrl* l, const std::string& p) { return l->ExportJSON("Ex", p, {}); }}};

// Python's reading of an XML export's fields or a JSON export's title and records as
// name=value, fields split by \x1f, records by \x1e.
std::string ReadBack(const std::string& path) {
  WriteWholeFile(path + ".py", R"(import json, sys, xml.etree.ElementTree as E
p = sys.argv[1]
if p.endswith("xml"): r = [[f.get("name") + "=" + (f.text or "") for f in x] for x in E.parse(p).getroot()]
else: d = json.load(open(p))[0]; r = [[d["title"]]] + [[k + "=" + v for k, v in x.items()] for x in d["records"]]
sys.stdout.buffer.write("\x1e".join("\x1f".join(x) for x in r).encode()))");
  FILE* pipe = popen(("python3 " + path + ".py " + path).c_str(), "r");
  std::string out(1 << 16, '\0');
  out.resize(fread(out.data(), 1, out.size(), pipe));
  return pclose(pipe) == 0 ? out : "python failed";
}

struct ExportWritersTest : testing::Test {
  ~ExportWritersTest() override { frame_->Destroy(); }
  NumberedList* MakeList(int columns, long rows) {
    auto* list = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, columns);
    list->SetItemCount(rows);
    list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    return list;
  }
  ScopedTestHome home_;
  const std::string dir_ = home_.path() + "/";
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Export", wxPoint(0, 0), wxSize(500, 300));
};

TEST_F(ExportWritersTest, FilesReadBackAsTheSelectedRows) {
  const char* kCells[4][3] = {{"Name, First", "Skip", "Q \"\xE2\x82\xAC\""},  // the headers
                              {"a,b", "x0", "say \"hi\" `ls` 5%s"}, {"-", "x1", "-"},
                              {"", "x2", " Zo\xC3\xAB\t,\r\n<&>' "}};
  auto* list = new NumberedList(frame_, wxLC_REPORT, 3);
  for (int column = 0; column < 3; ++column) {
    wxListItem header;
    header.SetText(wxString::FromUTF8(kCells[0][column]));
    list->SetColumn(column, header);
    for (long row = 0; row < 3; ++row) {
      if (column == 0) list->InsertItem(row, "");
      list->SetItem(row, column, wxString::FromUTF8(kCells[row + 1][column]));
    }
  }
  for (long row : {0, 2}) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  list->ExcludeColumnFromExport(1);
  list->SetReportNotes("50% off %d");
  ASSERT_TRUE(list->WriteCSVFile(dir_ + "o.csv") && list->WriteXMLFile(dir_ + "o.xml"));
  EXPECT_EQ(ReadWholeFile(dir_ + "o.csv"), "Name, First,Skip,Q \"\xE2\x82\xAC\"\r\n\"a,b\",x0,say \"\"hi\"\" "
            "`ls` 5%s\r\n,x2,\" Zo\xC3\xAB\t,\r\n<&>' \"");
  const std::string xml = ReadWholeFile(dir_ + "o.xml");
  EXPECT_THAT(xml, testing::StartsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<ZORMXML>\r\n<record>\r\n"));
  EXPECT_THAT(xml, testing::EndsWith("<field name=\"Q &quot;&#8364;&quot;\"> Zo\xEB&#9;,&#13;&#10;&lt;&amp;"
                                     "&gt;&apos; </field>\r\n</record>\r\n</ZORMXML>\r\n"));
  std::string fields;
  for (int row : {1, 3})
    for (int column = 0; column < 3; ++column)
      fields += std::string(kCells[0][column]) + "=" + kCells[row][column] + (column < 2 ? "\x1f" : row < 3 ? "\x1e" : "");
  EXPECT_EQ(ReadBack(dir_ + "o.xml"), fields);
  ASSERT_TRUE(list->ExportJSON("Export", dir_ + "o.json", ExportAction::None));
  EXPECT_EQ(ReadBack(dir_ + "o.json"), "Export\x1ename,-first=a,b\x1fq-\"\xE2\x82\xAC\"=say \"hi\" `ls` 5%s"
            "\x1ename,-first=\x1fq-\"\xE2\x82\xAC\"=Zo\xC3\xAB\t,\r\n<&>'");  // keys lower-case, values trimmed
  list->SetReportTitle("");
  ASSERT_TRUE(list->ExportText("Change History", dir_ + "o.txt", ExportAction::None));
  const std::string text = ReadWholeFile(dir_ + "o.txt");
  for (const char* part : {"Description: Change History\n", "Notes: 50% off %d\n", "hi\" `ls` 5%s"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  EXPECT_EQ(text.find("x2"), std::string::npos);
}

TEST_F(ExportWritersTest, BadListsAndFilesLeaveNoFileOrTheEarlierOne) {
  const std::string open = ProfileApplicationName() + "|Failed to open output file", header(300, '7');
  const std::string full = "Export Error|Failed to write output file: File too large";
  const struct Case {
    int columns, kept;  // the first `kept` columns are exported
    long rows;
    std::string folder, shown;
  } kCases[] = {{3, 3, 20000, "/no/", open}, {3, 3, 20000, "/", full}, {0, 0, 5, "/", ""},
                {3, 3, 0, "/", ""}, {2, 0, 1, "/", ""}, {2, 1, 1, "/", ""}};
  struct rlimit saved, limit;
  getrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
  for (const Case& c : kCases) {
    for (const auto& [ext, write] : kWriters) {
      SCOPED_TRACE(ext + c.folder + std::to_string(c.columns * 100000 + c.rows) + c.shown);
      NumberedList* list = MakeList(c.columns, c.rows);
      for (int column = c.kept; column < c.columns; ++column) list->ExcludeColumnFromExport(unsigned(column));
      wxListItem item;
      item.SetText(header);
      if (c.columns > 0) list->SetColumn(0, item);
      const std::string path = home_.path() + c.folder + "f." + ext;
      WriteWholeFile(path, "earlier");
      DialogScript script({});
      limit = {c.shown == full ? 64 << 10 : saved.rlim_cur, saved.rlim_max};
      setrlimit(RLIMIT_FSIZE, &limit);
      const bool written = write(list, path);
      setrlimit(RLIMIT_FSIZE, &saved);
      EXPECT_EQ(script.shown, c.shown.empty() ? std::vector<std::string>{} : std::vector{c.shown});
      EXPECT_EQ(written, c.rows > 0 && c.columns > 0 && c.shown.empty());
      const std::string content = ReadWholeFile(path);
      const bool all = ext == "csv" || ext == "xml";  // the writers that ignore the exclusions
      EXPECT_TRUE(written || content == (c.folder == "/" ? "earlier" : ""));
      EXPECT_EQ(content.find(header.substr(0, 127)) != std::string::npos, written && (all || c.kept > 0));
      EXPECT_EQ(content.find("R0 C1") != std::string::npos, written && all);
      EXPECT_EQ(content.find(header.substr(0, 128)), std::string::npos);
      list->Destroy();
    }
  }
  signal(SIGXFSZ, SIG_DFL);
}

// The real GTK save dialog, answered from the keyboard. With no window manager, keys go
// to the window under the pointer; the replace question is centred on the dialog.
TEST_F(ExportWritersTest, SaveDialogAsksBeforeReplacingTheTypedName) {
  frame_->Show();
  NumberedList* list = MakeList(1, 1);
  WriteWholeFile(dir_ + "typed.csv", "old");
  for (const auto& [answer, file] : {std::pair{"Escape sleep 1 key Escape", "old"}, {"Return", "Column 0\r\nR0 C0"}}) {
    std::thread keys([&] {
      std::system(("W=$(xdotool search --sync --onlyvisible --name 'Select a file' | head -1); sleep 0.5; "
                   "eval $(xdotool getwindowgeometry --shell $W); xdotool mousemove --window $W 400 25 click 1 "
                   "key ctrl+a type '" + dir_ + "typed.csv'; xdotool key Return; sleep 2; xdotool mousemove "
                   "--window $W $((WIDTH/2)) $((HEIGHT/2)) key " + answer).c_str());
    });
    list->ExportCSV(ExportAction::None);
    keys.join();
    EXPECT_EQ(ReadWholeFile(dir_ + "typed.csv"), file) << answer;
  }
}

}  // namespace
