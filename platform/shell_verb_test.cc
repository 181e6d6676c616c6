#include "platform/shell_verb.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/test_env.h"

namespace {

// Replaces each '@' in `text` with `home`.
std::string At(std::string text, const std::string& home) {
  for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, home);
  return text;
}

}  // namespace

// Stand-ins for xdg-open and lp sit alone on PATH: each writes its arguments, one a
// line, to `args`, says `err` on standard error and exits with `exit_code`. The
// real lp runs against a print server that is not there.
TEST(ShellVerbTest, ToolGetsThePathAsOneAbsoluteArgumentAndItsOutcomeIsMapped) {
  struct Case {
    ShellVerb verb;
    const char* file;  // created in the working folder ('@' is that folder)
    const char* given;
    const char* tool;  // the stand-in to install, or "" for none, "real" for /usr/bin
    int exit_code;
    const char* err;
    const char* args;  // as the stand-in recorded them
    long code;
    const char* message;
  };
  const Case kCases[] = {
      {ShellVerb::kOpen, "a b 'c\" d.txt", "@/a b 'c\" d.txt", "xdg-open", 0, "",
       "@/a b 'c\" d.txt\n", 0, ""},
      {ShellVerb::kOpen, "-x.txt", "-x.txt", "xdg-open", 0, "", "@/-x.txt\n", 0, ""},
      {ShellVerb::kPrint, "r.txt", "r.txt", "lp", 0, "", "--\n@/r.txt\n", 0, ""},
      {ShellVerb::kOpen, "u.zz", "u.zz", "xdg-open", 3, "", "@/u.zz\n", 31,
       "There is no application associated with the given file name extension"},
      {ShellVerb::kOpen, "u.zz", "u.zz", "xdg-open", 4, "", "@/u.zz\n", 31,
       "There is no application associated with the given file name extension"},
      {ShellVerb::kOpen, "u.zz", "u.zz", "xdg-open", 1, "", "@/u.zz\n", -1, "Unknown Error"},
      {ShellVerb::kOpen, "", "gone.txt", "xdg-open", 0, "", "", 2,
       "The specified file was not found"},
      {ShellVerb::kPrint, "", "gone/x.txt", "lp", 0, "", "", 3, "The specified path was not found"},
      {ShellVerb::kOpen, "o.txt", "o.txt", "", 0, "", "", 1001,
       "The program xdg-open (package xdg-utils) is not installed"},
      {ShellVerb::kPrint, "p.txt", "p.txt", "", 0, "", "", 1002,
       "The print program lp (package cups-client) is not installed"},
      {ShellVerb::kPrint, "p.txt", "p.txt", "lp", 1, "lp: Error - scheduler not responding.\n",
       "--\n@/p.txt\n", 1004, "The print service (CUPS) is not running"},
      {ShellVerb::kPrint, "p.txt", "p.txt", "real", 0, "", "", 1003, "No printer is set up"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.given + std::string(" with ") + c.tool);
    ScopedTestHome home;
    const std::string bin = home.path() + "/bin", work = home.path() + "/work";
    ASSERT_EQ(0, mkdir(bin.c_str(), 0755));
    ASSERT_EQ(0, mkdir(work.c_str(), 0755));
    ASSERT_EQ(0, chdir(work.c_str()));
    home.SetEnv("PATH", std::string(c.tool) == "real" ? "/usr/bin:/bin" : bin.c_str());
    home.SetEnv("CUPS_SERVER", (home.path() + "/no-cups.sock").c_str());
    const std::string script = bin + "/" + c.tool;
    if (*c.tool != '\0' && std::string(c.tool) != "real") {
      ASSERT_TRUE(WriteWholeFile(
          script, "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done > " + home.path() +
                      "/args\nprintf '%s' '" + c.err + "' >&2\nexit " +
                      std::to_string(c.exit_code) + "\n"));
      chmod(script.c_str(), 0755);
    }
    if (*c.file != '\0') {
      ASSERT_TRUE(WriteWholeFile(work + "/" + c.file, "x"));
    }

    const Status status = RunShellVerb(c.verb, At(c.given, work));
    EXPECT_EQ(c.code, status.code());
    EXPECT_EQ(c.message, status.message());
    EXPECT_EQ(At(c.args, work), ReadWholeFile(home.path() + "/args"));
    ASSERT_EQ(0, chdir("/"));
  }
}
