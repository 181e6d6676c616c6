// The export writers on a real list, their files read back by real readers.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <wx/frame.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "listctrl/numbered_list_test.h"
#include "listctrl/zorm_list_ctrl.h"
#include "platform/profile.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A virtual list of given texts.
class TableList : public CZORMListCtrl {
 public:
  TableList(wxWindow* parent, const std::vector<std::string>& headers, Rows rows)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(0, 0), wxSize(400, 200), wxLC_REPORT | wxLC_VIRTUAL),
        rows_(std::move(rows)) {
    for (const std::string& header : headers) AppendColumn(wxString::FromUTF8(header));
    SetItemCount(long(rows_.size()));
  }
  std::string GetExportCellText(long row, int column) const override {
    return rows_[size_t(row)][size_t(column)];
  }

 protected:
  wxString OnGetItemText(long row, long column) const override {
    return wxString::FromUTF8(rows_[size_t(row)][size_t(column)]);
  }

 private:
  Rows rows_;
};

// What a Python reader makes of a file: fields separated by \x1f, records by \x1e.
std::string ReadBack(const char* reader, const std::string& path) {
  const std::string script = std::string(R"(
import csv, json, sys, xml.etree.ElementTree as ET
p = sys.argv[1]
if ')") + reader + R"(' == 'csv':
    recs = list(csv.reader(open(p, newline='', encoding='utf-8')))
elif ')" + reader + R"(' == 'xml':
    recs = [[f.get('name') + '=' + (f.text or '') for f in r] for r in ET.parse(p).getroot()]
else:
    doc = json.load(open(p, encoding='utf-8'))
    recs = [[doc[0]['title']]] + [[k + '=' + v for k, v in r.items()] for r in doc[0]['records']]
sys.stdout.buffer.write('\x1e'.join('\x1f'.join(r) for r in recs).encode('utf-8'))
)";
  ScopedTestHome scratch;
  WriteWholeFile(scratch.path() + "/read.py", script);
  FILE* pipe = popen(("python3 " + scratch.path() + "/read.py '" + path + "'").c_str(), "r");
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << path;
  return out;
}

class ExportWritersTest : public testing::Test {
 protected:
  void TearDown() override { frame_->Destroy(); }
  TableList* MakeList(const std::vector<std::string>& headers, Rows rows) {
    return new TableList(frame_, headers, std::move(rows));
  }
  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Export", wxPoint(0, 0), wxSize(500, 300));
};

const std::vector<std::string> kHeaders = {"Name, First", "Skip me", "Price \xE2\x82\xAC", "Quote \"q\""};
const Rows kRows = {
    {"a,b", "x0", "5%s 100%", "say \"hi\""},
    {"unselected", "x1", "-", "-"},
    {"Zo\xC3\xAB `ls`", "x2", "tab\tand,\r\nbreak", "<&>'"},
    {"", "x3", "ab", " padded "},
};

TEST_F(ExportWritersTest, FilesReadBackAsTheSelectedRows) {
  TableList* list = MakeList(kHeaders, kRows);
  for (long row : {0, 2, 3}) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  list->ExcludeColumnFromExport(1);
  list->SetReportNotes("50% off %d");
  const std::string dir = home_.path() + "/";
  ASSERT_TRUE(list->WriteCSVFile(dir + "out.csv"));
  EXPECT_EQ(ReadWholeFile(dir + "out.csv"),
            "Name, First,Skip me,Price \xE2\x82\xAC,Quote \"q\"\r\n"
            "\"a,b\",x0,5%s 100%,say \"\"hi\"\"\r\n"
            "Zo\xC3\xAB `ls`,x2,\"tab\tand,\r\nbreak\",<&>'\r\n"
            ",x3,ab, padded ");
  EXPECT_EQ(ReadBack("csv", dir + "out.csv"),
            "Name\x1f First\x1fSkip me\x1fPrice \xE2\x82\xAC\x1fQuote \"q\"\x1e"
            "a,b\x1fx0\x1f" "5%s 100%\x1fsay \"\"hi\"\"\x1e"
            "Zo\xC3\xAB `ls`\x1fx2\x1ftab\tand,\r\nbreak\x1f<&>'\x1e"
            "\x1fx3\x1f" "ab\x1f padded ");

  ASSERT_TRUE(list->WriteXMLFile(dir + "out.xml"));
  const std::string xml = ReadWholeFile(dir + "out.xml");
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<ZORMXML>\r\n<record>\r\n", 0), 0u);
  EXPECT_EQ(xml.substr(xml.size() - 23), "</record>\r\n</ZORMXML>\r\n");
  std::string expected;
  for (size_t row : {0, 2, 3}) {
    for (size_t column = 0; column < kHeaders.size(); ++column)
      expected += kHeaders[column] + "=" + kRows[row][column] + (column + 1 < kHeaders.size() ? "\x1f" : "");
    if (row != 3) expected += "\x1e";
  }
  EXPECT_EQ(ReadBack("xml", dir + "out.xml"), expected);

  ASSERT_TRUE(list->ExportJSON("Export", dir + "out.json", ExportAction::None));
  EXPECT_EQ(ReadBack("json", dir + "out.json"),
            "Export\x1e"
            "name,-first=a,b\x1fprice-\xE2\x82\xAC=5%s 100%\x1fquote-\"q\"=say \"hi\"\x1e"
            "name,-first=Zo\xC3\xAB `ls`\x1fprice-\xE2\x82\xAC=tab\tand,\r\nbreak\x1fquote-\"q\"=<&>'\x1e"
            "name,-first=\x1fprice-\xE2\x82\xAC=ab\x1fquote-\"q\"=padded");

  list->SetReportTitle("");
  ASSERT_TRUE(list->ExportText("Change History", dir + "out.txt", ExportAction::None));
  const std::string text = ReadWholeFile(dir + "out.txt");
  EXPECT_EQ(list->GetReportTitle(), "Change History");
  for (const char* part : {"Report Description: Change History\n", "Report Notes: 50% off %d\n",
                           "5%s 100%", "Zo\xC3\xAB `ls`", "<&>'", "Quote \"q\""}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  for (const char* absent : {"Skip me", "x0", "x2", "unselected"})
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
}

using Writer = bool (*)(CZORMListCtrl*, const std::string&);
const struct WriterCase {
  const char* name;
  Writer write;
} kWriters[] = {
    {"csv", [](CZORMListCtrl* l, const std::string& p) { return l->WriteCSVFile(p); }},
    {"xml", [](CZORMListCtrl* l, const std::string& p) { return l->WriteXMLFile(p); }},
    {"txt", [](CZORMListCtrl* l, const std::string& p) { return l->ExportText("T", p, ExportAction::None); }},
    {"json", [](CZORMListCtrl* l, const std::string& p) { return l->ExportJSON("T", p, ExportAction::None); }},
};

TEST_F(ExportWritersTest, FailuresAreShownAndLeaveNoFile) {
  auto* list = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, 3);
  list->SetItemCount(20000);
  list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  const std::string open_failed = ProfileApplicationName() + "|Failed to open output file";
  for (const WriterCase& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    const std::string missing = home_.path() + "/no/such/folder/out." + writer.name;
    {
      DialogScript script({});
      EXPECT_FALSE(writer.write(list, missing));
      EXPECT_EQ(script.shown, std::vector<std::string>{open_failed});
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A full disk: the file may not grow past 64 KiB.
    const std::string full = home_.path() + "/full." + writer.name;
    ASSERT_TRUE(WriteWholeFile(full, "earlier"));
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const struct rlimit small = {64 << 10, saved.rlim_max};
    const auto old_handler = signal(SIGXFSZ, SIG_IGN);
    DialogScript script({});
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writer.write(list, full);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(script.shown, std::vector<std::string>{"Export Error|Failed to write output file: File too large"});
    EXPECT_EQ(ReadWholeFile(full), "earlier");
  }
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(home_.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 4u) << "the earlier files, and no temporary file left beside them";
}

TEST_F(ExportWritersTest, OddListsWriteNothingOrWhatTheyHave) {
  const std::string long_header(300, '7');  // the same in JSON's lower-case keys
  struct Case {
    int columns;
    long rows;
    bool exclude_all, long_header;
    std::vector<bool> written;  // per writer of kWriters
  } kCases[] = {
      {0, 5, false, false, {false, false, false, false}},
      {3, 0, false, false, {false, false, false, false}},
      {2, 2, true, false, {true, true, true, true}},
      {1, 1, false, true, {true, true, true, true}},
  };
  for (const Case& c : kCases) {
    auto* list = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, c.columns);
    list->SetItemCount(c.rows);
    list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    for (int column = 0; column < c.columns; ++column) {
      list->ExcludeColumnFromExport(unsigned(column), c.exclude_all);
    }
    if (c.long_header) {
      wxListItem item;
      item.SetText(long_header);
      list->SetColumn(0, item);
    }
    for (size_t w = 0; w < std::size(kWriters); ++w) {
      SCOPED_TRACE(testing::Message() << c.columns << " columns, " << c.rows << " rows, " << kWriters[w].name);
      const std::string path = home_.path() + "/odd." + kWriters[w].name;
      std::filesystem::remove(path);
      EXPECT_EQ(kWriters[w].write(list, path), c.written[w]);
      const std::string content = ReadWholeFile(path);
      EXPECT_EQ(std::filesystem::exists(path), c.written[w]);
      if (!c.written[w]) continue;
      // Cells of an excluded column reach only the CSV and XML files.
      EXPECT_EQ(content.find("R0 C0") != std::string::npos, !c.exclude_all || w < 2);
      if (c.long_header) {
        EXPECT_NE(content.find(long_header.substr(0, 127)), std::string::npos);
        EXPECT_EQ(content.find(long_header.substr(0, 128)), std::string::npos);
      }
    }
    list->Destroy();
  }
}

}  // namespace
