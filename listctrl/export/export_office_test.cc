#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cmath>
#include <sstream>

#include "listctrl/zorm_list_ctrl.h"
#include "tests/gui/dialog_script.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"

namespace {

// Types `path` into GTK's real save dialog as a user would ("": cancels it), and
// answers the other dialogs as the script says.
struct SaveAs : DialogScript, wxTimer {
  SaveAs(std::string path, std::vector<Answer> answers) : DialogScript(answers), path(path) {}
  int Enter(wxDialog* dialog) override {
    if (dynamic_cast<wxFileDialog*>(dialog) == nullptr) return DialogScript::Enter(dialog);
    if (path.empty()) return wxID_CANCEL;
    if (!IsRunning()) StartOnce(800);  // GTK asks twice; types once the chooser has the focus
    return wxID_NONE;
  }
  void Notify() override {
    wxUIActionSimulator keys;
    keys.Char('a', wxMOD_CONTROL);
    keys.Text(path.c_str());
    keys.Char(WXK_RETURN);
  }
  std::string path;
};

// Rows 0 and 1 of three are selected.
class ExportOfficeTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* header : {"Part", "Price", "Note"}) list_->AppendColumn(header);
    const char* kRows[][3] = {
        {"Bolt", "12.5", "007"}, {"Nut", "3", ""}, {"Washer", "0.25", "a, b"}};
    for (long row = 0; row < 3; ++row) {
      list_->InsertItem(row, kRows[row][0]);
      for (int column = 1; column < 3; ++column) list_->SetItem(row, column, kRows[row][column]);
    }
    for (long row : {0, 1}) list_->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    list_->SetRegistryName("OfficeTest");
  }
  void TearDown() override { frame_->Destroy(); }

  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Office");
  CZORMListCtrl* list_ = new CZORMListCtrl(frame_, wxID_ANY, {0, 0}, {400, 200}, wxLC_REPORT);
};

// Every column, an excluded one too, and every cell as a text: "12.5", "007".
TEST_F(ExportOfficeTest, WorkbookHoldsHeadersAndSelectedRowsAsTexts) {
  const std::string path = home_.path() + "/out.xlsx";
  list_->ExcludeColumnFromExport(1);
  ASSERT_TRUE(list_->WriteExcelFile(path));
  const WorkbookReadBack book = ReadBackWorkbook(path);
  ASSERT_TRUE(book.ok && book.sheets.size() == 1) << book.error;
  EXPECT_EQ("Export", book.sheets[0].name);
  EXPECT_EQ((std::vector<std::vector<std::string>>{
                {"s:Part", "s:Price", "s:Note"}, {"s:Bolt", "s:12.5", "s:007"}, {"s:Nut", "s:3"}}),
            book.sheets[0].rows);
}

TEST_F(ExportOfficeTest, PdfPagesFollowTheOptionsAndLeaveExcludedColumnsOut) {
  const struct Case {
    PdfExportOptions options;
    bool exclude_note;  // by the list's own exclusion set
    double width, height;
    std::vector<std::string> shown, missing;
  } kCases[] = {
      {{0, false, ""}, false, 612, 792, {"Price", "Note", "Bolt", "12.5", "007"}, {"Washer"}},
      {{3, false, "2"}, false, 595.276, 841.89, {"Part", "Note", "007"}, {"Price", "12.5"}},
      {{1, true, "1"}, true, 1008, 612, {"Price", "12.5"}, {"Part", "Bolt", "Note", "007"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.options.page_size * 10 + c.options.landscape);
    list_->ExcludeColumnFromExport(2, c.exclude_note);
    const std::string path = home_.path() + "/out.pdf";
    ASSERT_TRUE(list_->WritePDFFile(path, "Stock", c.options));
    EXPECT_TRUE(PdfStructureIsSound(path));
    const std::vector<PdfPageBox> pages = ReadPdfPageBoxes(path);
    EXPECT_TRUE(pages.size() == 1 &&
                std::abs(c.width - pages[0].width) + std::abs(c.height - pages[0].height) < 0.01);
    const std::vector<PdfWord> words = ReadPdfWords(path);
    for (const std::string& word : c.shown)
      EXPECT_EQ(1u, FindPdfWords(words, 1, word).size()) << word;
    for (const std::string& word : c.missing)
      EXPECT_TRUE(FindPdfWords(words, 1, word).empty()) << word;
  }
}

TEST_F(ExportOfficeTest, PdfOptionsAreRememberedOnceTheSaveDialogIsConfirmed) {
  const struct Case {
    std::string save_to;            // "": the save dialog is cancelled
    const char *offered, *columns;  // columns remembered after the export; "-": none
    unsigned size, landscape;       // remembered after the export; 9: none
  } kCases[] = {{"", "Letter", "-", 9, 9},
                {home_.path() + "/a.pdf", "Letter", "2", 3, 1},
                {"", "A4", "2", 3, 1}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.save_to + c.offered);
    SaveAs script(c.save_to, {{"2", "A4", true, wxID_OK}});
    EXPECT_EQ(!c.save_to.empty(), list_->ExportPDF("Export", ExportAction::None));
    EXPECT_EQ(std::vector<std::string>{c.offered}, script.preselected);
    EXPECT_EQ(c.size, list_->GetListProfileInt("PDFPageSize", 9));
    EXPECT_EQ(c.landscape, list_->GetListProfileInt("PDFPageOrientation", 9));
    EXPECT_EQ(c.columns, list_->GetListProfileString("PDFExclusionColumns", "-"));
  }
  EXPECT_NEAR(841.89, ReadPdfPageBoxes(kCases[1].save_to).at(0).width, 0.01);
}

// /dev/full fails at the first buffer flush, so the PDF is made long.
TEST_F(ExportOfficeTest, PdfThatCannotBeSavedShowsTheResultCode) {
  for (long row = 3; row < 500; ++row) list_->InsertItem(row, wxString::Format("Row %ld", row));
  list_->SelectAll();
  DialogScript script({});
  EXPECT_FALSE(list_->WritePDFFile("/dev/full", "Export", PdfExportOptions{}));
  EXPECT_EQ(std::vector<std::string>{"Export Error|PDF Export failed with result code: 4118"},
            script.shown);
}

// A recording xdg-email keeps its arguments, each ended by NUL.
TEST_F(ExportOfficeTest, EmailHandsTheTextReportToTheComposer) {
  std::vector<std::string> many;
  for (int i = 0; i < 300; ++i) many.push_back("user" + std::to_string(i) + "@example.org");
  const struct Case {
    const char* tool;                    // "none": no xdg-email on PATH
    std::vector<std::string> to, shown;  // shown: none when the composer took it
    size_t recipients;
  } kCases[] = {{"exit 0", many, {}, 256},
                {"exit 4", many, {"MAPI Error|Unable to send email message"}, 256},
                {"exit 0", {"--attach"}, {"MAPI Error|Unable to send email message"}, 0},
                {"none", many, {"MAPI Error|Failed to load MAPI32.DLL"}, 0}};
  const std::string bin = home_.path() + "/bin", record = home_.path() + "/args";
  const std::string stale = home_.temp_dir() + "/calvaro-mail-old";  // swept after a day
  const utimbuf days_ago = {time(nullptr) - 90000, time(nullptr) - 90000};
  ASSERT_TRUE(!mkdir(bin.c_str(), 0755) && !mkdir(stale.c_str(), 0700) &&
              !utime(stale.c_str(), &days_ago));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.tool + std::to_string(c.to.size()));
    home_.SetEnv("PATH", std::string(c.tool) == "none" ? home_.path().c_str() : bin.c_str());
    unlink(record.c_str());
    ASSERT_TRUE(WriteWholeFile(bin + "/xdg-email",
                               "#!/bin/sh\nprintf '%s\\0' \"$@\" >" + record + "\n" + c.tool));
    ASSERT_EQ(0, chmod((bin + "/xdg-email").c_str(), 0755));
    DialogScript script({});
    EXPECT_EQ(c.shown.empty(), list_->ExportEmail("Stock", &c.to));
    EXPECT_EQ(c.shown, script.shown);
    std::istringstream recorded(ReadWholeFile(record));
    std::vector<std::string> args;
    for (std::string arg; std::getline(recorded, arg, '\0');) args.push_back(arg);
    if (c.recipients == 0) continue;
    ASSERT_EQ(7 + c.recipients, args.size());
    EXPECT_EQ("Stock [SEC=UNCLASSIFIED]", args[2]);
    EXPECT_EQ("Dear ....\n\nPlease find attached the requested information from Calvaro.", args[4]);
    EXPECT_EQ("/Calvaro_Report.txt", args[6].substr(args[6].rfind('/')));
    EXPECT_EQ(many[255], args.back());
    // Kept for the composer only when it took the message.
    const std::string attached = ReadWholeFile(args[6]);
    EXPECT_EQ(c.shown.empty(), attached.find("Nut") != std::string::npos);
    EXPECT_EQ(std::string::npos, attached.find("Washer"));
    struct stat info;
    EXPECT_NE(0, stat(stale.c_str(), &info));
  }
}

}  // namespace
