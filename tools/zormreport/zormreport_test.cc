// zormreport as its users run it: a separate process with arguments, environment,
// standard input, and its exit status, standard output and standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

struct ProgramRun {
  int status = -1;
  std::string out, err;
};

// The program is built beside this test.
std::string ProgramPath() {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, length > 0 ? length : 0);
  return path.substr(0, path.rfind('/') + 1) + "zormreport";
}

ProgramRun RunZormreport(const ScopedTestHome& home, const std::vector<std::string>& arguments,
                  const std::string& input, const char* stdout_path = nullptr) {
  std::string in = home.path() + "/stdin", out = home.path() + "/stdout",
              err = home.path() + "/stderr";
  WriteWholeFile(in, input);
  pid_t pid = fork();
  if (pid == 0) {
    int in_fd = open(in.c_str(), O_RDONLY);
    int out_fd = open(stdout_path ? stdout_path : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    std::string program = ProgramPath();
    std::vector<char*> argv = {program.data()};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ProgramRun run;
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = stdout_path ? "" : ReadWholeFile(out);
  run.err = ReadWholeFile(err);
  return run;
}

// The production time is the child's own clock: shown as <time>.
std::string WithoutTime(const std::string& text) {
  static const std::regex time(R"([A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4} - \d\d:\d\d:\d\d \(UTC\))");
  return std::regex_replace(text, time, "<time>");
}

class ZormreportTest : public ::testing::Test {
 protected:
  ZormreportTest() {
    for (const char* name : {"REQUEST_URI", "REQUEST_METHOD", "QUERY_STRING", "CONTENT_LENGTH",
                             "HTTP_COOKIE", "ZORMREPORTFORMAT", "ZORMREPORTCOLUMNDELETE",
                             "ZORMCSVNOHEADER", "ZORMREPORTHTMLLOGO"})
      home_.SetEnv(name, nullptr);
    home_.SetEnv("TZ", "UTC");
  }
  ScopedTestHome home_;
};

const char kHeading[] =
    "\n             System: Calvaro\n Report Description: Stock\n"
    "    Production Time: <time>\n       Report Width: 12 bytes\n\n";

}  // namespace

TEST_F(ZormreportTest, WritesRecordsAndDirectivesAsAText) {
  struct Case {
    const char* what;
    std::string input;
    std::string expected;
  } cases[] = {
      {"records, CR LF, separator, a second section; the trailer at the end",
       "abc|1234\n#!separator\nx|5\r\n#!header Next\ny|6\n",
       std::string(kHeading) + "Item    Qty \n------ ---- \nabc    1,23 \n------ ---- \nx         5 \n"
           "------ ---- \n\n             System: Calvaro\n Report Description: Next\n"
           "    Production Time: <time>\n       Report Width: 12 bytes\n\nItem    Qty \n"
           "------ ---- \ny         6 \n------ ---- \n"},
      {"input that ends with a trailer gets no second one", "a|1\n#!trailer\n",
       std::string(kHeading) + "Item    Qty \n------ ---- \na         1 \n------ ---- \n"},
      {"no input: heading and trailer only", "",
       std::string(kHeading) + "Item    Qty \n------ ---- \n------ ---- \n"},
      {"records are literal text, never formats", "%s%n|%d\n#!banner ignored in text\n#!reset\n",
       std::string(kHeading) + "Item    Qty \n------ ---- \n%s%n      0 \n------ ---- \n"},
      {"a last line without a line end is a record", "last|7",
       std::string(kHeading) + "Item    Qty \n------ ---- \nlast      7 \n------ ---- \n"},
  };
  for (const Case& c : cases) {
    ProgramRun run = RunZormreport(home_, {"--title", "Stock", "--column", "Item:6", "--column", "Qty:4:rn"},
                            c.input);
    EXPECT_EQ(0, run.status) << c.what << "\n" << run.err;
    EXPECT_EQ(c.expected, WithoutTime(run.out)) << c.what;
    EXPECT_EQ("", run.err) << c.what;
  }
}

TEST_F(ZormreportTest, NotesAndReportNumberReachTheHeading) {
  ProgramRun run = RunZormreport(home_, {"--title=Stock", "--notes=Sample data", "--report-number=3",
                                  "--column=Item:6"},
                          "");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("\n             System: Calvaro\n          Report ID: 3\n Report Description: Stock\n"
            "       Report Notes: Sample data\n    Production Time: <time>\n"
            "       Report Width: 7 bytes\n\nItem   \n------ \n------ \n",
            WithoutTime(run.out));
}

TEST_F(ZormreportTest, FormatComesFromTheEnvironmentAndOutputOptionTakesTheBody) {
  home_.SetEnv("ZORMREPORTFORMAT", "CSV");
  std::string path = home_.path() + "/out.csv";
  ProgramRun run = RunZormreport(home_, {"--column", "a:1", "--column", "b:1", "--output", path},
                          "1|2\n#!trailer\n");
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.out);
  EXPECT_EQ("a,b,\n1,2,\n\n", ReadWholeFile(path));

  home_.SetEnv("ZORMREPORTFORMAT", "json");
  run = RunZormreport(home_, {"--title", "T", "--column", "Item Code:1"}, "A1\n");
  EXPECT_EQ("[{\n\t\t\"title\":\t\"T\",\n\t\t\"creation_time\":\t\"<time>\",\n"
            "\t\t\"records\":\t[{\n\t\t\t\t\"item-code\":\t\"A1\"\n\t\t\t}]\n\t}]",
            WithoutTime(run.out));
}

TEST_F(ZormreportTest, UnknownDirectiveIsReportedAndLeftOut) {
  home_.SetEnv("ZORMREPORTFORMAT", "csv");
  ProgramRun run = RunZormreport(home_, {"--column", "a:1"}, "1\n#!bogus x\n2\n");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("a,\n1,\n2,\n\n", run.out);
  EXPECT_NE(std::string::npos, run.err.find("line 2: unknown directive")) << run.err;
}

TEST_F(ZormreportTest, InCgiModeTheHeaderLineComesFirst) {
  home_.SetEnv("REQUEST_URI", "/cgi/report");
  home_.SetEnv("ZORMREPORTFORMAT", "json");  // not consulted in CGI mode
  home_.SetEnv("ZORMDROPREPORT004", "");
  struct Case {
    const char* query;
    const char* report_number;
    std::string expected;
  } cases[] = {
      {"rpt=Csv", "0", "Content-Type: text/plain;\n\r\na,\n1,\n\n"},
      {"RPT=", "0",
       "Content-Type: text/plain;\n\r\n\n             System: Calvaro\n Report Description: T\n"
       "    Production Time: <time>\n       Report Width: 2 bytes\n\na \n- \n1 \n- \n"},
      {"RPT=html", "0",
       "Content-Type: text/html;\n\r\n<html><body><table width=\"100%\">"},
      {"RPT=json", "0",
       "Content-Type: application/json;\n\r\n[{\n\t\t\"title\":\t\"T\",\n"},
      {"RPT=csv", "4", "Content-Type: text/plain;\n\r\n"},  // dropped after the header line
      {"RPT=json", "4", "Content-Type: application/json;\n\r\n"},
  };
  for (const Case& c : cases) {
    home_.SetEnv("QUERY_STRING", c.query);
    ProgramRun run = RunZormreport(
        home_, {"--title", "T", "--report-number", c.report_number, "--column", "a:1"}, "1\n");
    EXPECT_EQ(0, run.status);
    std::string out = WithoutTime(run.out);
    EXPECT_EQ(c.expected, out.substr(0, c.expected.size())) << c.query;
    if (std::string(c.report_number) == "4") {
      EXPECT_EQ(c.expected, out) << c.query;
    }
  }
}

TEST_F(ZormreportTest, ExitStatusTellsWhatWentWrong) {
  struct Case {
    std::vector<std::string> arguments;
    const char* stdout_path;
    int status;
    std::string out_part, err_part;
  } cases[] = {
      {{"--help"}, nullptr, 0, "Usage: zormreport", ""},
      {{"--version"}, nullptr, 0, "zormreport 1.0", ""},
      {{"--column", "a"}, nullptr, 2, "", "zormreport: column 'a' needs NAME:WIDTH\n\nUsage:"},
      {{}, nullptr, 2, "", "at least one --column"},
      {{"--column", "a:1", "--input", "/nonexistent/in.txt"}, nullptr, 2, "",
       "cannot read /nonexistent/in.txt"},
      {{"--column", "a:1", "--output", "/nonexistent/out.txt"}, nullptr, 1, "",
       "cannot write /nonexistent/out.txt"},
      {{"--column", "a:1", "--output", "/dev/full"}, nullptr, 1, "", "cannot write /dev/full"},
      {{"--column", "a:1"}, "/dev/full", 1, "", "cannot write standard output"},
  };
  for (const Case& c : cases) {
    ProgramRun run = RunZormreport(home_, c.arguments, "1\n", c.stdout_path);
    EXPECT_EQ(c.status, run.status) << c.err_part;
    if (!c.out_part.empty()) {
      EXPECT_EQ(0u, run.out.find(c.out_part)) << run.out;
    } else {
      EXPECT_EQ("", run.out);
    }
    EXPECT_NE(std::string::npos, run.err.find(c.err_part)) << run.err;
  }
}

TEST_F(ZormreportTest, TitleAndNotesExpandReportVariablesAndEnvironment) {
  const std::string good = home_.path() + "/variables.cfg", broken = home_.path() + "/broken.cfg";
  ASSERT_TRUE(WriteWholeFile(good, "variable = {\n  SITE = { value = \"Main\"; };\n"
                                   "  PERIODEND = { type = \"date\"; date = \"2021-02-30\";"
                                   " format = \"%d.%m.%Y\"; };\n};\n"));
  ASSERT_TRUE(WriteWholeFile(broken, "variable = { SITE = { value = \"Main\"; };\n"));
  home_.SetEnv("USER", "alice");
  struct Case {
    std::string variables_file;
    std::vector<std::string> options;
    std::string title, notes;
  } cases[] = {
      {good, {"--title", "$SITE stock for %USER", "--notes", "Up to $PERIODEND, 100% $$SITE.txt"},
       "Main stock for alice", "Up to 02.03.2021, 100% $SITEtxt"},
      {good, {"--no-env", "--title", "$SITE for %USER", "--notes=%%USER"},
       "Main for ***BADENV:USER***", "%USER"},
      {good, {"--title", "$NOSUCH.%NOSUCHVARIABLE"}, "$NOSUCH***BADENV:NOSUCHVARIABLE***", ""},
      {broken, {"--title", "$SITE for %USER"}, "$SITE for alice", ""},
      {home_.path(), {"--title", "$SITE"}, "$SITE", ""},  // a folder, not a file
  };
  for (const Case& c : cases) {
    home_.SetEnv("ZORMVARFILE", c.variables_file.c_str());
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"--column", "Item:6"});
    ProgramRun run = RunZormreport(home_, arguments, "");
    EXPECT_EQ(0, run.status) << c.title;
    EXPECT_EQ("", run.err) << c.title;
    EXPECT_NE(std::string::npos, run.out.find(" Report Description: " + c.title + "\n"))
        << run.out;
    if (!c.notes.empty()) {
      EXPECT_NE(std::string::npos, run.out.find("       Report Notes: " + c.notes + "\n"))
          << run.out;
    }
  }
}

TEST_F(ZormreportTest, PdfIsShapedByTheEnvironment) {
  const std::string path = home_.path() + "/stock.pdf";
  home_.SetEnv("ZORMREPORTFORMAT", "pdf");
  home_.SetEnv("ZORMPDFOUTPUTPATH", path.c_str());
  home_.SetEnv("ZORMPDFPAGESIZE", "a4");
  home_.SetEnv("ZORMPDFORIENTATION", "LANDSCAPE");
  home_.SetEnv("ZORMPDFBLANKPAGETEXT", "No orders");
  ProgramRun run = RunZormreport(
      home_,
      {"--title", "Stock", "--notes", "Berlin", "--report-number", "4", "--column", "Item:20",
       "--column", "Qty:6:rn", "--column", "State:20:t"},
      "Copper pipe|1250|[OPEN]\n#!banner Hamburg\nGasket set|15|[LOCKED][OLD]\n"
      "#!header Empty\n#!trailer\n#!header Orders\nRadiator|24|\n");
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.out);
  EXPECT_EQ("", run.err);
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::vector<PdfPageBox> boxes = ReadPdfPageBoxes(path);
  ASSERT_EQ(3u, boxes.size());
  EXPECT_NEAR(841.89, boxes[0].width, 0.001);
  EXPECT_NEAR(595.276, boxes[0].height, 0.001);
  const std::vector<PdfWord> words = ReadPdfWords(path);
  for (const char* text : {"Stock", "Report-ID", "004", "1,250", "Hamburg", "LOCKED", "OLD"})
    EXPECT_EQ(1u, FindPdfWords(words, 1, text).size()) << text;
  EXPECT_EQ(1u, FindPdfWords(words, 2, "No").size());
  EXPECT_EQ(1u, FindPdfWords(words, 3, "Radiator").size());
  const std::vector<PdfBookmark> outline = ReadPdfOutline(path);
  ASSERT_EQ(3u, outline.size());
  EXPECT_EQ("Stock", outline[0].title);
  EXPECT_EQ("Empty", outline[1].title);
  EXPECT_EQ(2, outline[1].page);
  EXPECT_EQ("Orders", outline[2].title);
  EXPECT_EQ(3, outline[2].page);
  const std::regex qr(R"(3;Orders;[A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4} - \d\d:\d\d:\d\d)");
  const std::string decoded = DecodeMirroredQrCode(path, 3);
  EXPECT_TRUE(std::regex_match(decoded, qr)) << decoded;
}

TEST_F(ZormreportTest, FailedPdfSaveEndsWithItsResultCode) {
  home_.SetEnv("ZORMREPORTFORMAT", "pdf");
  home_.SetEnv("ZORMPDFOUTPUTPATH", "/nonexistent/stock.pdf");
  ProgramRun run = RunZormreport(home_, {"--title", "Stock", "--column", "Item:6"}, "a\n");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("Error PDF Object: error_no=1017, detail_no=2\n", run.out);
  EXPECT_EQ("zormreport: PDF save failed with result code: 4119\n", run.err);
}
