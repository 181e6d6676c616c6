// zormreport as its users run it: a separate process with arguments, environment
// and input, and its exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "tests/support/report_fixture.h"
#include "tests/support/run_program.h"

namespace {

TEST(ZormreportTest, FeedsLinesAndDirectivesAndTellsWhatWentWrong) {
  ReportTestEnv home;
  home.SetEnv("USER", "alice");
  home.SetEnv("ZORMVARFILE", (home.path() + "/variables.cfg").c_str());
  ASSERT_TRUE(WriteWholeFile(home.path() + "/variables.cfg",
                             "variable = { SITE = { value = \"Main\"; }; };\n"));
  const std::vector<std::string> columns = {"--column", "a:4", "--column", "b:4"};
  struct Case {
    const char* what;
    const char* format;  // ZORMREPORTFORMAT
    std::vector<std::string> arguments;  // after the columns
    std::string input;
    int status;
    std::string out;  // the whole output, or a part of it when `part` is set
    bool part;
    std::string err_part;
  } cases[] = {
      {"records, CR LF, separator, a header; a trailer at the end", "csv", {},
       "abc|1234\n#!separator\nx|5\r\n#!header Next\ny|6\n", 0,
       "a,b,\nabc,1234,\n\nx,5,\n\na,b,\ny,6,\n\n", false, ""},
      {"input that ends with a trailer gets no second one", "csv", {}, "a|1\n#!trailer\n", 0,
       "a,b,\na,1,\n\n", false, ""},
      {"records are literal text; a last line may lack its line end", "csv", {},
       "%s%n|%d\n#!banner ignored\n#!reset\nlast|7", 0, "a,b,\n%s%n,%d,\nlast,7,\n\n", false, ""},
      {"an unknown directive is told and left out", "csv", {}, "1\n#!bogus x\n2\n", 0,
       "a,b,\n1,\n2,\n\n", false, "line 2: unknown directive"},
      {"title and notes expand variables", "text",
       {"--title=$SITE for %USER", "--notes", "100% $$SITE", "--report-number=3"}, "", 0,
       "          Report ID: 3\n Report Description: Main for alice\n"
       "       Report Notes: 100% $SITE\n",
       true, ""},
      {"--no-env", "text", {"--no-env", "--title", "$SITE for %USER"}, "", 0,
       " Report Description: Main for ***BADENV:USER***\n", true, ""},
      {"help", "csv", {"--help"}, "", 0, "Usage: zormreport", true, ""},
      {"a bad column", "csv", {"--column", "a"}, "", 2, "", false,
       "zormreport: column 'a' needs NAME:WIDTH\n\nUsage:"},
      {"a missing input", "csv", {"--input", "/nonexistent/in.txt"}, "", 2, "", false,
       "cannot read /nonexistent/in.txt"},
      {"an output that cannot be opened", "csv", {"--output", "/nonexistent/out.txt"}, "", 1, "",
       false, "cannot write /nonexistent/out.txt"},
      {"an output that cannot be written", "csv", {"--output", "/dev/full"}, "", 1, "", false,
       "cannot write /dev/full"},
      {"a failed PDF save", "pdf", {}, "a\n", 1,
       "Error PDF Object: error_no=1017, detail_no=2\n", false,
       "zormreport: PDF save failed with result code: 4119\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    home.SetEnv("ZORMREPORTFORMAT", c.format);
    home.SetEnv("ZORMPDFOUTPUTPATH",
        c.format == std::string("pdf") ? "/nonexistent/x.pdf" : nullptr);
    ASSERT_TRUE(WriteWholeFile(home.path() + "/in.txt", c.input));
    std::vector<std::string> argv = {ZORMREPORT_PATH, "--input", home.path() + "/in.txt"};
    argv.insert(argv.end(), columns.begin(), columns.end());
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const ProgramRun run = RunProgram(argv);
    EXPECT_EQ(c.status, WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1) << run.err;
    EXPECT_TRUE(c.part ? run.out.find(c.out) != std::string::npos : run.out == c.out) << run.out;
    EXPECT_EQ(c.err_part.empty(), run.err.empty()) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(c.err_part)) << run.err;
  }
}

}  // namespace
