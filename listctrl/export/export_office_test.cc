#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "listctrl/zorm_list_ctrl.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"

namespace {

// Answers the save dialog by typing `path` into it as a user would ("": cancel),
// and every other dialog as the script says.
struct SaveAs : DialogScript {
  SaveAs(std::vector<std::string> paths, std::vector<Answer> answers)
      : DialogScript(std::move(answers)), paths(std::move(paths)) {}
  int Enter(wxDialog* dialog) override {
    if (dynamic_cast<wxFileDialog*>(dialog) == nullptr) return DialogScript::Enter(dialog);
    if (dialog == typed_in) return wxID_NONE;  // GTK's ShowModal asks twice
    typed_in = dialog;
    const std::string path = paths.at(asked++);
    if (path.empty()) return wxID_CANCEL;
    typing.Bind(wxEVT_TIMER, [path](wxTimerEvent&) {
      wxUIActionSimulator keys;
      keys.Char('a', wxMOD_CONTROL);
      keys.Text(path.c_str());
      keys.Char(WXK_RETURN);
    });
    typing.StartOnce(800);  // once GTK's chooser has the focus
    return wxID_NONE;
  }
  std::vector<std::string> paths;
  size_t asked = 0;
  wxTimer typing;
  wxDialog* typed_in = nullptr;
};

class ExportOfficeTest : public testing::Test {
 protected:
  void SetUp() override {
    list_ = new CZORMListCtrl(frame_, wxID_ANY, wxPoint(0, 0), wxSize(400, 200), wxLC_REPORT);
    for (const char* header : {"Part", "Price", "Note"}) list_->AppendColumn(header);
    const char* kRows[][3] = {{"Bolt", "12.5", "007"}, {"Nut", "3", ""}, {"Washer", "0.25", "a, b"}};
    for (long row = 0; row < 3; ++row) {
      list_->InsertItem(row, kRows[row][0]);
      for (int column = 1; column < 3; ++column) list_->SetItem(row, column, kRows[row][column]);
    }
    list_->SetRegistryName("OfficeTest");
  }
  void TearDown() override { frame_->Destroy(); }
  void Select(const std::vector<long>& rows) {
    list_->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (long row : rows) list_->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }

  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Office");
  CZORMListCtrl* list_ = nullptr;
};

// Every column, numbers included, is a text cell; column exclusion is for the
// report-based exports only.
TEST_F(ExportOfficeTest, WorkbookHoldsHeadersAndSelectedRowsAsTexts) {
  const struct Case {
    std::vector<long> selected;
    std::vector<std::vector<std::string>> rows;
  } kCases[] = {
      {{0, 2},
       {{"s:Part", "s:Price", "s:Note"}, {"s:Bolt", "s:12.5", "s:007"},
        {"s:Washer", "s:0.25", "s:a, b"}}},
      {{1}, {{"s:Part", "s:Price", "s:Note"}, {"s:Nut", "s:3"}}},
  };
  list_->ExcludeColumnFromExport(1);
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.selected));
    Select(c.selected);
    const std::string path = home_.path() + "/out.xlsx";
    ASSERT_TRUE(list_->WriteExcelFile(path));
    const WorkbookReadBack book = ReadBackWorkbook(path);
    ASSERT_TRUE(book.ok) << book.error;
    ASSERT_EQ(1u, book.sheets.size());
    EXPECT_EQ("Export", book.sheets[0].name);
    EXPECT_EQ(c.rows, book.sheets[0].rows);
  }
}

TEST_F(ExportOfficeTest, PdfPagesFollowTheOptionsAndLeaveExcludedColumnsOut) {
  const struct Case {
    PdfExportOptions options;
    bool exclude_note;  // from the list's own exclusion set
    double width, height;
    std::vector<std::string> shown, missing;
  } kCases[] = {
      {{0, false, ""}, false, 612, 792, {"Part", "Price", "Note", "Bolt", "12.5", "007"}, {"Nut"}},
      {{3, false, "2"}, false, 595.276, 841.89, {"Part", "Note", "007"}, {"Price", "12.5"}},
      {{3, true, "1,3"}, false, 841.89, 595.276, {"Price", "12.5"}, {"Part", "Bolt", "Note", "007"}},
      {{1, true, ""}, true, 1008, 612, {"Part", "Price", "Bolt"}, {"Note", "007"}},
  };
  Select({0, 2});
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.options.page_size * 10 + c.options.landscape);
    list_->ExcludeColumnFromExport(2, c.exclude_note);
    const std::string path = home_.path() + "/out.pdf";
    ASSERT_TRUE(list_->WritePDFFile(path, "Stock", c.options));
    EXPECT_TRUE(PdfStructureIsSound(path));
    const std::vector<PdfPageBox> pages = ReadPdfPageBoxes(path);
    ASSERT_EQ(1u, pages.size());
    EXPECT_NEAR(c.width, pages[0].width, 0.01);
    EXPECT_NEAR(c.height, pages[0].height, 0.01);
    const std::vector<PdfWord> words = ReadPdfWords(path);
    for (const std::string& word : c.shown) EXPECT_EQ(1u, FindPdfWords(words, 1, word).size()) << word;
    for (const std::string& word : c.missing) EXPECT_TRUE(FindPdfWords(words, 1, word).empty()) << word;
    EXPECT_EQ(1u, FindPdfWords(words, 1, "Stock").size());
  }
}

// The options are kept only once the save dialog is confirmed.
TEST_F(ExportOfficeTest, PdfOptionsAreRememberedOnceTheSaveDialogIsConfirmed) {
  const Answer kA4 = {"2", "A4", true, wxID_OK};
  const struct Case {
    std::string save_to;  // "": the save dialog is cancelled
    const char* offered;
    unsigned size, landscape;  // remembered after the export; 9: none
    const char* columns;       // "-": none
  } kCases[] = {
      {"", "Letter", 9, 9, "-"},
      {home_.path() + "/a4.pdf", "Letter", 3, 1, "2"},
      {"", "A4", 3, 1, "2"},
  };
  frame_->Show();
  Select({0, 1, 2});
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.save_to + c.offered);
    SaveAs script({c.save_to}, {kA4});
    EXPECT_EQ(!c.save_to.empty(), list_->ExportPDF("Export", ExportAction::None));
    EXPECT_EQ(std::vector<std::string>{c.offered}, script.preselected);
    EXPECT_EQ(c.size, list_->GetListProfileInt("PDFPageSize", 9));
    EXPECT_EQ(c.landscape, list_->GetListProfileInt("PDFPageOrientation", 9));
    EXPECT_EQ(c.columns, list_->GetListProfileString("PDFExclusionColumns", "-"));
    if (!c.save_to.empty()) {
      EXPECT_EQ(841.89, ReadPdfPageBoxes(c.save_to).at(0).width);
    }
  }
}

// A PDF that cannot be saved says so with the writer's code (libharu's stream write
// error); the first buffer flush to /dev/full fails, so the PDF is made long.
TEST_F(ExportOfficeTest, PdfThatCannotBeSavedShowsTheResultCode) {
  for (long row = 3; row < 500; ++row) list_->InsertItem(row, wxString::Format("Row %ld", row));
  list_->SelectAll();
  DialogScript script({});
  EXPECT_FALSE(list_->WritePDFFile("/dev/full", "Export", PdfExportOptions{}));
  EXPECT_EQ(std::vector<std::string>{"Export Error|PDF Export failed with result code: 4198"},
            script.shown);
}

// A recording xdg-email keeps its arguments (each ended by NUL) and a copy of the
// attachment; "none" puts no xdg-email on PATH.
TEST_F(ExportOfficeTest, EmailHandsTheTextReportToTheComposer) {
  std::vector<std::string> addresses;
  for (int i = 0; i < 300; ++i) addresses.push_back("user" + std::to_string(i) + "@example.org");
  const struct Case {
    const char* tool;
    bool sent;
    std::vector<std::string> shown;
    size_t recipients;
  } kCases[] = {
      {"exit 0", true, {}, 256},
      {"exit 4", false, {"MAPI Error|Unable to send email message"}, 256},
      {"none", false, {"MAPI Error|Failed to load MAPI32.DLL"}, 0},
  };
  Select({1});
  const std::string bin = home_.path() + "/bin", record = home_.path() + "/args";
  ASSERT_EQ(0, mkdir(bin.c_str(), 0755));
  home_.SetEnv("PATH", bin.c_str());
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.tool);
    unlink(record.c_str());
    if (std::string(c.tool) != "none") {
      ASSERT_TRUE(WriteWholeFile(bin + "/xdg-email", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + record +
                                                         "'\n/bin/cat \"$7\" > '" + record + ".txt'\n" +
                                                         c.tool + "\n"));
      ASSERT_EQ(0, chmod((bin + "/xdg-email").c_str(), 0755));
    } else {
      unlink((bin + "/xdg-email").c_str());
    }
    SaveAs script({}, {});
    EXPECT_EQ(c.sent, list_->ExportEmail("Stock", &addresses));
    EXPECT_EQ(c.shown, script.shown);
    std::vector<std::string> args;
    const std::string recorded = ReadWholeFile(record);
    for (size_t at = 0, end; (end = recorded.find('\0', at)) != std::string::npos; at = end + 1)
      args.push_back(recorded.substr(at, end - at));
    if (c.recipients == 0) {
      EXPECT_TRUE(args.empty());
      continue;
    }
    ASSERT_EQ(7 + c.recipients, args.size());
    EXPECT_EQ((std::vector<std::string>{"--utf8", "--subject", "Stock [SEC=UNCLASSIFIED]", "--body",
                                        "Dear ....\n\nPlease find attached the requested "
                                        "information from Calvaro.",
                                        "--attach"}),
              std::vector<std::string>(args.begin(), args.begin() + 6));
    EXPECT_EQ("/Calvaro_Report.txt", args[6].substr(args[6].rfind('/')));
    EXPECT_EQ(addresses.front(), args[7]);
    EXPECT_EQ(addresses[255], args.back());
    const std::string attached = ReadWholeFile(record + ".txt");
    EXPECT_NE(std::string::npos, attached.find("Nut")) << attached;
    EXPECT_EQ(std::string::npos, attached.find("Bolt")) << attached;
    struct stat info;  // kept for the composer only when it took the message
    EXPECT_EQ(c.sent, stat(args[6].c_str(), &info) == 0);
  }
}

}  // namespace
