#include "platform/shell_verb.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/test_env.h"

// A stand-in xdg-open or lp sits alone on PATH ("no ...": none): it writes its arguments,
// one a line, runs `then` and exits. The real lp meets a print server that is not there.
// The file exists in the working folder ('@') unless "gone".
TEST(ShellVerbTest, ToolGetsOneAbsolutePathArgumentAndItsOutcomeIsMapped) {
  const char* kNoApp = "There is no application associated with the given file name extension";
  // tool, then, path, the arguments that came, exit code, result number and text
  const std::tuple<std::string, std::string, std::string, const char*, int, long, const char*>
      kCases[] = {
          {"xdg-open", "", "a b 'c\" d", "@/a b 'c\" d\n", 3, 31, kNoApp},
          {"xdg-open", "", "-x.txt", "@/-x.txt\n", 0, 0, ""},
          {"lp", "", "r.txt", "--\n@/r.txt\n", 0, 0, ""},
          {"xdg-open", "", "u.zz", "@/u.zz\n", 4, 31, kNoApp},
          {"xdg-open", "", "u.zz", "@/u.zz\n", 1, -1, "Unknown Error"},
          {"xdg-open", "", "gone.txt", "", 0, 2, "The specified file was not found"},
          {"lp", "", "gone/x.txt", "", 0, 3, "The specified path was not found"},
          {"no xdg-open", "", "o", "", 0, 1001,
           "The program xdg-open (package xdg-utils) is not installed"},
          {"no lp", "", "p", "", 0, 1002,
           "The print program lp (package cups-client) is not installed"},
          {"xdg-open", "/bin/sleep 9", "v.txt", "@/v.txt\n", 4, 0, ""},  // the viewer still open
          {"lp", "echo 'lp: Error - scheduler not responding.' >&2", "p", "--\n@/p\n", 1, 1004,
           "The print service (CUPS) is not running"},
          {"lp", "echo 'lp: Unsupported document-format \"a/b\".' >&2", "p", "--\n@/p\n", 1, 31,
           kNoApp},
          {"real lp", "", "p", "", 0, 1003, "No printer is set up"},
      };
  for (const auto& [tool, then, path, args, exit_code, code, message] : kCases) {
    SCOPED_TRACE(tool + " exiting " + std::to_string(exit_code) + " on " + path);
    ScopedTestHome home;
    ASSERT_TRUE(chdir(home.path().c_str()) == 0 && mkdir("bin", 0755) == 0);
    home.SetEnv("PATH", tool == "real lp" ? "/usr/bin:/bin" : (home.path() + "/bin").c_str());
    home.SetEnv("CUPS_SERVER", "/nowhere/cups.sock");
    if (tool.find(' ') == std::string::npos) {
      ASSERT_TRUE(
          WriteWholeFile("bin/" + tool, "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done >args\n" +
                                            then + "\nexit " + std::to_string(exit_code)) &&
          chmod(("bin/" + tool).c_str(), 0755) == 0);
    }
    if (path.find("gone") == std::string::npos) WriteWholeFile(path, "x");

    const Status status = RunShellVerb(
        tool.find("lp") == std::string::npos ? ShellVerb::kOpen : ShellVerb::kPrint, path);
    EXPECT_EQ(code, status.code());
    EXPECT_EQ(message, status.message());
    std::string came = ReadWholeFile("args");
    for (size_t at; (at = came.find(home.path())) != std::string::npos;)
      came.replace(at, home.path().size(), "@");
    EXPECT_EQ(args, came);
    ASSERT_EQ(0, chdir("/"));
  }
}
