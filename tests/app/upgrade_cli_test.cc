// calvaro-upgrade-cli as a script runs it: the real program against the vendor's
// site on lighttpd, installing a real package built by wixl.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/upgrade_summary.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace {

TEST(UpgradeCliTest, PrintsSummaryAndHistoryInstallsAndRefusesWhatItCannotUse) {
  ScopedTestHome home;
  // A '|' inside a description must not split the record.
  VendorSite site({true,
                   "INSERT INTO change (module, title, description, published) VALUES "
                   "('ABC', 'F1 Pipes', 'a|b||c', '2021-01-02 03:04:05');",
                   {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  const std::string package = std::string(ZORM_TEST_PACKAGES) + "/abc_v1.msi";
  const std::string target = home.path() + "/chosen";
  using Server = CannedHttpServer;
  Server missing(Server::Mode::kAnswer, "HTTP/1.1 404 Not Found\r\n\r\n<html>gone</html>");
  Server not_xml(Server::Mode::kAnswer, "HTTP/1.1 200 OK\r\n\r\nhello");
  Server hostile(Server::Mode::kAnswer,
                 "HTTP/1.1 200 OK\r\n\r\n<rss><channel><item><title>F</title><description>"
                 "a\x1B[2Jb\xC2\x9B" "c\xFF</description><pubDate>Mon, 05 Jul 2021 12:00:00 GMT"
                 "</pubDate></item></channel></rss>");
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::vector<std::string> out;  // in this order
    std::string err, server;       // no server: the vendor's site
    const char* format = nullptr;  // ZORMREPORTFORMAT
  } const kCases[] = {
      {{"ABC", "Jul 5 2021", package, "--install", "--properties", "INSTALLDIR=" + target},
       0,
       {"URL: " + package + "\nModule: ABC\nBuilt: Monday, July 05, 2021\nAge: " +
            AgeText(ParseOleDate("Jul 5 2021")) + "\nMSI Properties: INSTALLDIR=" + target + "\n\n",
        "Change History", "Enhancement 2021-07-06 Scanning a warehouse",
        "Fix         2021-01-02 a\u00A6b\u00A6\u00A6c"}},
      {{"ABC", "Jul 5 2021", package},
       1,
       {"URL: ", "Module: ABC\n"},
       "history of \"ABC\"",
       "127.0.0.1:1"},
      {{"ABC", "Jul 5 2021", home.path() + "/missing.msi", "--install"},
       1619 & 0xFF,
       {"Windows Installer returned code: 1619\n"}},
      {{"ABC", "Jul 5 2021", package}, 1, {"Module: ABC\n"}, "status 404", missing.host_port()},
      {{"ABC", "Jul 5 2021", package}, 1, {"Module: ABC\n"}, "is not XML", not_xml.host_port()},
      {{"ABC", "Jul 5 2021", package}, 0, {"\"description\":\t\"a [2Jb c\xEF\xBF\xBD\""}, "",
       hostile.host_port(), "json"},
      {{"ABC", "Jul 5 2021"}, 2, {}, "usage: calvaro-upgrade-cli"},
      {{"ABC", "Jul 5 2021", "pkg.msi", "--bogus"}, 2, {}, "usage:"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    home.SetEnv("ZORMVENDORSERVER", (c.server.empty() ? site.host_port() : c.server).c_str());
    home.SetEnv("ZORMREPORTFORMAT", c.format);
    std::vector<std::string> argv = c.args;
    argv.insert(argv.begin(), CALVARO_UPGRADE_CLI_PATH);
    const ProgramRun run = RunProgram(argv, home.path());
    EXPECT_EQ(WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1, c.exit_code) << run.err;
    size_t at = 0;
    for (const std::string& text : c.out) at = run.out.find(text, at);
    EXPECT_TRUE(c.out.empty() ? run.out.empty() : at != std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_TRUE(std::filesystem::exists(target + "/alpha.txt"));
}

namespace fs = std::filesystem;

// What installs leave in the temporary folder and beside the install folder.
int Leftovers(const std::string& home) {
  return std::count_if(fs::recursive_directory_iterator(home), {}, [](const auto& entry) {
    const std::string name = entry.path().filename().string();
    return name.starts_with(".morvend-install-") || name.starts_with("morvend-package-");
  });
}

// A cabinet that is a FIFO holds the package reader once the staging folder is
// made; a silent server holds a download once its file is made. The signal then
// comes while that is on the disk.
TEST(UpgradeCliTest, InterruptsLeaveNothingAndWhatAKillLeftGoesAtTheNextInstall) {
  ScopedTestHome home;
  home.SetEnv("ZORMVENDORSERVER", "127.0.0.1:1");
  const std::string v1 = std::string(ZORM_TEST_PACKAGES) + "/abc_v1.msi";
  const std::string held = home.path() + "/held.msi", cabinet = home.path() + "/held.cab";
  fs::copy_file(v1, held);
  const ProgramRun edit =
      RunProgram({ZORM_MSIBUILD, held, "-q", "UPDATE `Media` SET `Cabinet` = 'held.cab'"});
  ASSERT_EQ(0, edit.status) << edit.err;
  ASSERT_EQ(0, mkfifo(cabinet.c_str(), 0600));
  CannedHttpServer silent(CannedHttpServer::Mode::kSilent);
  const std::string download = "http://" + silent.host_port() + "/abc.msi";
  const std::pair<std::string, int> kCases[] = {
      {held, SIGTERM}, {held, SIGINT}, {held, SIGKILL}, {download, SIGTERM}, {download, SIGKILL}};
  for (const auto& [package, ending] : kCases) {
    SCOPED_TRACE(package + " " + strsignal(ending));
    const pid_t pid = fork();
    if (pid == 0) {  // quiet: only what the program leaves on the disk counts here
      dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
      dup2(STDOUT_FILENO, STDERR_FILENO);
      execl(CALVARO_UPGRADE_CLI_PATH, "cli", "ABC", "Jul 5 2021", package.c_str(), "--install",
            nullptr);
      _exit(127);
    }
    for (int i = 0; i < 2000 && Leftovers(home.path()) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(1, Leftovers(home.path()));
    kill(pid, ending);
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == ending) << status;
    EXPECT_EQ(ending == SIGKILL ? 1 : 0, Leftovers(home.path()));
    // The reader went with its parent: nobody waits at the cabinet any more.
    int writer = -1;
    for (int i = 0; i < 200 && (writer = open(cabinet.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; ++i) {
      close(writer);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(-1, writer);
    const ProgramRun next =
        RunProgram({CALVARO_UPGRADE_CLI_PATH, "ABC", "Jul 5 2021", v1, "--install"});
    EXPECT_EQ(0, WEXITSTATUS(next.status)) << next.err;
    EXPECT_EQ(0, Leftovers(home.path()));
  }
}

}  // namespace
