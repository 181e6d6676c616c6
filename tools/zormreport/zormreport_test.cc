// zormreport as its users run it: a separate process with arguments, environment
// and input, and its exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <filesystem>

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
  // A full disk: a tmpfs with one page free beside the old file, else a size limit.
  const std::string full = home.path() + "/full";
  std::filesystem::create_directory(full);
  const bool mounted = mount("tmpfs", full.c_str(), "tmpfs", 0, "size=8k") == 0;
  struct Unmount {
    std::string folder;
    ~Unmount() { umount(folder.c_str()); }
  } unmount{full};
  std::string big;
  for (int i = 0; big.size() < 65536; ++i) big += std::to_string(i * 7919) + "|x\n";
  const std::string no_room = mounted ? ": No space left on device" : ": File too large";
  const std::string too_long = home.path() + "/" + std::string(300, 'x') + ".xlsx";
  struct Case {
    const char* what;
    const char* format;  // ZORMREPORTFORMAT
    std::vector<std::string> arguments;  // after the columns
    std::string input;
    int status;
    std::string out;  // the whole output, or a part of it when `part` is set
    bool part;
    std::string err_part;
    std::string target = "";  // the format's file, else --output; "old" in it first
    bool full_disk = false;
    const char* broken_library = "";  // found first by the loader, and not a library
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
      {"a PDF in a missing folder", "pdf", {}, "a\n", 1, "", false,
       "zormreport: cannot write /nonexistent/x.pdf: No such file or directory\n",
       "/nonexistent/x.pdf"},
      {"a workbook where a folder is", "excel", {}, "a\n", 1, "", false,
       "cannot write " + full + ": Is a directory", full},
      {"a workbook on a full disk", "excel", {}, big, 1, "", false,
       mounted ? "cannot write " + full + "/b.xlsx" + no_room : "Cannot assemble", full + "/b.xlsx",
       true},
      {"a PDF on a full disk", "pdf", {}, big, 1, "Error PDF Object: error_no=1016", true,
       "cannot write " + full + "/b.pdf" + no_room, full + "/b.pdf", true},
      {"CSV on a full disk", "csv", {}, big, 1, "", false,
       "cannot write " + full + "/b.csv" + no_room, full + "/b.csv", true},
      {"CSV replacing an older file", "csv", {}, "a\n", 0, "", false, "", home.path() + "/b.csv"},
      {"a workbook path too long to hold", "excel", {}, "a\n", 1, "", false,
       "the workbook path is longer than 260 characters: " + too_long, too_long},
      {"JSON without its library writes nothing", "json", {}, "a\n", 1, "", false,
       "Cannot load the JSON library libcjson.so.1: ", "", false, "libcjson.so.1"},
      {"a workbook without its library", "excel", {}, "a\n", 1, "", false,
       "Cannot load the workbook library libxlsxwriter.so.4: ", home.path() + "/b.xlsx", false,
       "libxlsxwriter.so.4"},
      {"HTML titles, notes and column names are text", "html",
       {"--title", "<b>T&amp;</b>", "--notes", "'n'", "--column", "<i>:3"}, "#!header <s>\n", 0,
       "&lt;b&gt;T&amp;amp;&lt;/b&gt;", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    home.SetEnv("ZORMREPORTFORMAT", c.format);
    const std::string format = c.format;
    const bool to_file = format == "pdf" || format == "excel";
    home.SetEnv("ZORMPDFOUTPUTPATH", format == "pdf" ? c.target.c_str() : nullptr);
    home.SetEnv("ZORMEXCELOUTPUTPATH", format == "excel" ? c.target.c_str() : nullptr);
    const bool old_file =
        c.target.starts_with(home.path()) && c.target.size() < 200 && c.target != full;
    ASSERT_TRUE(!old_file || WriteWholeFile(c.target, "old"));
    ASSERT_TRUE(WriteWholeFile(home.path() + "/in.txt", c.input));
    std::vector<std::string> argv = {ZORMREPORT_PATH, "--input", home.path() + "/in.txt"};
    if (c.full_disk && !mounted)
      argv.insert(argv.begin(), {"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\""});
    argv.insert(argv.end(), columns.begin(), columns.end());
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    if (!to_file && !c.target.empty()) argv.insert(argv.end(), {"--output", c.target});
    if (*c.broken_library != '\0') {
      ASSERT_TRUE(WriteWholeFile(home.Path(c.broken_library), "not a library"));
    }
    home.SetEnv("LD_LIBRARY_PATH", *c.broken_library != '\0' ? home.path().c_str() : nullptr);
    const ProgramRun run = RunProgram(argv);
    if (*c.broken_library != '\0') std::filesystem::remove(home.Path(c.broken_library));
    if (old_file) {
      const std::string now = ReadWholeFile(c.target);
      EXPECT_EQ(c.status != 0, now == "old") << now.size();
      std::filesystem::remove(c.target);
      for (const auto& entry : std::filesystem::directory_iterator(home.path() + "/full"))
        ADD_FAILURE() << "left behind: " << entry.path();
    }
    EXPECT_EQ(c.status, WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1) << run.err;
    EXPECT_TRUE(c.part ? run.out.find(c.out) != std::string::npos : run.out == c.out) << run.out;
    EXPECT_EQ(c.err_part.empty(), run.err.empty()) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(c.err_part)) << run.err;
  }
}

}  // namespace
