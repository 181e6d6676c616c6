// zormreport writing workbooks: as a command, chosen by the environment, and as a
// CGI program under lighttpd, where the browser receives the workbook's bytes.
// Every workbook is read back with openpyxl.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/http_fetch.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kArguments[] =
    " --title Stock --column Item:20 --column Store:8 --column Qty:6:rn --input ";
const char kStock[] =
    "Copper pipe|Berlin|1,250\n"
    "Gasket set|Munich|12.5\n"
    "#!separator\n"
    "#!header On order\n"
    "Radiator|Berlin|24\n";
const char kXlsxType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

std::string ShellQuoted(const std::string& text) {
  return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

struct CommandRun {
  int status = -1;  // exit status, -1 when the program died of a signal
  std::string err;
};

// Runs zormreport in `folder` with `environment` ("NAME=value ..." already quoted).
CommandRun RunInFolder(const ScopedTestHome& home, const std::string& folder,
                       const std::string& environment, const std::string& input_path) {
  std::string err = home.path() + "/stderr";
  std::string command = "cd " + ShellQuoted(folder) + " && env " + environment + " " +
                        ShellQuoted(ZORMREPORT_PATH) + kArguments + ShellQuoted(input_path) +
                        " </dev/null >/dev/null 2>" + ShellQuoted(err);
  int status = system(command.c_str());
  CommandRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadWholeFile(err);
  return run;
}

class ReportExcelTest : public ::testing::Test {
 protected:
  ReportExcelTest() {
    for (const char* name : {"REQUEST_URI", "REQUEST_METHOD", "QUERY_STRING", "CONTENT_LENGTH",
                             "ZORMREPORTFORMAT", "ZORMREPORTCOLUMNDELETE", "ZORMEXCELOUTPUTPATH"})
      home_.SetEnv(name, nullptr);
    home_.SetEnv("TZ", "UTC");
    input_ = home_.path() + "/stock.txt";
    WriteWholeFile(input_, kStock);
  }
  ScopedTestHome home_;
  std::string input_;
};

const Rows kFirstSheet = {{"s:Item", "s:Store", "s:Qty"},
                          {"s:Copper pipe", "s:Berlin", "n:1"},
                          {"s:Gasket set", "s:Munich", "n:12"}};
const Rows kSecondSheet = {{"s:Item", "s:Store", "s:Qty"}, {"s:Radiator", "s:Berlin", "n:24"}};

TEST_F(ReportExcelTest, CommandWritesTheWorkbookTheEnvironmentAsksFor) {
  std::string out = home_.path() + "/stock.xlsx";
  CommandRun run = RunInFolder(home_, home_.path(),
                               "ZORMREPORTFORMAT=Excel ZORMEXCELOUTPUTPATH=" + ShellQuoted(out) +
                                   " ZORMREPORTCOLUMNDELETE=2",
                               input_);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  WorkbookReadBack read = ReadBackWorkbook(out);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.sheets.size(), 2u);
  EXPECT_EQ(read.sheets[0].rows, (Rows{{"s:Item", "s:Qty"},
                                       {"s:Copper pipe", "n:1"},
                                       {"s:Gasket set", "n:12"}}));
  EXPECT_EQ(read.sheets[1].rows, (Rows{{"s:Item", "s:Qty"}, {"s:Radiator", "n:24"}}));
}

TEST_F(ReportExcelTest, CommandWithoutAPathNamesTheFileAfterTheTime) {
  std::string folder = home_.path() + "/work";
  std::filesystem::create_directory(folder);
  CommandRun run = RunInFolder(home_, folder, "ZORMREPORTFORMAT=excel", input_);
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path().filename().string());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(Sheet-\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d\.xlsx)")))
      << files[0];
  WorkbookReadBack read = ReadBackWorkbook(folder + "/" + files[0]);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.sheets.at(0).rows, kFirstSheet);
  EXPECT_EQ(read.sheets.at(1).rows, kSecondSheet);
}

TEST_F(ReportExcelTest, CommandTellsWhenTheWorkbookCannotBeWritten) {
  ASSERT_TRUE(WriteWholeFile(home_.path() + "/plain", "x"));
  std::string out = home_.path() + "/plain/stock.xlsx";
  CommandRun run = RunInFolder(home_, home_.path(),
                               "ZORMREPORTFORMAT=excel ZORMEXCELOUTPUTPATH=" + ShellQuoted(out),
                               input_);
  EXPECT_NE(run.status, -1);
  EXPECT_EQ(run.err, "xlBookSave: Cannot write " + out + ": Not a directory\n");
}

class ReportExcelCgiTest : public ReportExcelTest {
 protected:
  void SetUp() override {
    std::string root = home_.path() + "/www", cgi = home_.path() + "/cgi";
    mkdir(root.c_str(), 0755);
    mkdir(cgi.c_str(), 0755);
    mkdir(cgi_temp().c_str(), 0755);
    ASSERT_TRUE(WriteWholeFile(cgi + "/report.cgi", "#!/bin/sh\nexec " +
                                                        ShellQuoted(ZORMREPORT_PATH) + kArguments +
                                                        ShellQuoted(input_) + "\n"));
    chmod((cgi + "/report.cgi").c_str(), 0755);
    // The environment's format is not consulted in CGI mode.
    server_ = std::make_unique<LighttpdServer>(LighttpdServer::Options{
        root, cgi, {{"TZ", "UTC"}, {"ZORMREPORTFORMAT", "csv"}, {"TMPDIR", cgi_temp()}},
        {}});
    std::string error;
    ASSERT_TRUE(server_->Start(&error)) << error;
  }
  std::string cgi_temp() const { return home_.path() + "/cgi-tmp"; }
  std::unique_ptr<LighttpdServer> server_;
};

TEST_F(ReportExcelCgiTest, BrowserReceivesTheWorkbookWithItsLength) {
  const std::string form = "Content-Type: application/x-www-form-urlencoded";
  struct Case {
    const char* what;
    std::string query, method, body;
    std::vector<std::string> headers;
  } cases[] = {
      {"GET RPT=excel", "?RPT=excel", "GET", "", {}},
      {"GET rpt=EXCEL", "?x=1&rpt=EXCEL", "GET", "", {}},
      {"POST form body", "", "POST", "RPT=Excel", {form}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HttpRequest request;
    request.url = server_->base_url() + "/cgi/report.cgi" + c.query;
    request.method = c.method;
    request.body = c.body;
    request.headers = c.headers;
    HttpResult result = HttpFetch(request);
    EXPECT_EQ(result.status, 200) << result.error << server_->ErrorLog();
    EXPECT_EQ(result.Header("Content-Type"), kXlsxType) << result.header_block;
    EXPECT_TRUE(std::regex_match(result.Header("Content-Disposition"),
                                 std::regex(R"(attachment; filename="Sheet-[-0-9]{19}\.xlsx")")))
        << result.header_block;
    EXPECT_EQ(result.Header("Content-Length"), std::to_string(result.body.size()));
    WorkbookReadBack read = ReadBackWorkbookBytes(result.body);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.sheets.size(), 2u);
    EXPECT_EQ(read.sheets[0].rows, kFirstSheet);
    EXPECT_EQ(read.sheets[1].rows, kSecondSheet);
  }
  // Nothing is left behind on the server.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(cgi_temp()))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{});
}

}  // namespace
