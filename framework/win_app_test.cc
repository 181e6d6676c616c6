// Starts a real framework program (app_probe) with a private home and reads back
// what InitFramework did.
#include "framework/win_app.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "platform/profile.h"
#include "platform/registry.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

const std::string kProbeFolder = std::filesystem::path(APP_PROBE_PATH).parent_path();

class WinAppTest : public testing::Test {
 protected:
  WinAppTest() {
    home_.SetEnv("TZ", "UTC0");
    home_.SetEnv("ZORMUPDATESERVER", "127.0.0.1:1");  // nothing listens: no wait
    SetProfileApplicationName("app_probe");
  }
  ~WinAppTest() override { SetProfileApplicationName(""); }

  // The probe's "name=value" lines, checking what every start must do: show no
  // dialog but `dialog`, end with a hidden About window in the program's folder.
  std::map<std::string, std::string> StartProbe(const std::string& arg = "-",
                                                const std::string& dialog = "") {
    ProgramRun run = RunProgram({APP_PROBE_PATH, arg}, home_.path());
    std::map<std::string, std::string> report;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
      if (size_t equals = line.find('='); equals != std::string::npos)
        report[line.substr(0, equals)] = line.substr(equals + 1);
    EXPECT_EQ(dialog, report["Dialog"]);
    EXPECT_EQ("hidden", report["AboutWindow"]) << run.out << run.err;
    EXPECT_EQ(kProbeFolder, report["WorkingFolder"]);
    return report;
  }

  ScopedTestHome home_;
};

TEST_F(WinAppTest, EachStartShowsTheStartMessageCountsAndFindsLogoAndDefaultServer) {
  const std::string logo = kProbeFolder + "/resources/bitmap-9101.png";
  std::filesystem::create_directories(kProbeFolder + "/resources");
  ASSERT_EQ(0, system(("convert -size 30x20 xc:red 'png:" + logo + "'").c_str()));
  home_.SetEnv("ZORM_PROBE_BITMAP", "9101");
  home_.SetEnv("ZORMDEFAULTSERVER", "http://ann:pw@db.example.com:8080/calvaro");
  const struct Case {
    const char* time;
    const char* message;  // in the profile
    const char* last_run_time;
    const char* arg;
    const char* server;  // host|port|user|password
  } cases[] = {
      {"1625486400", "Away.", "Monday, July 05, 2021 - 12:00:00", "-v",
       "db.example.com|8080|ann|pw"},
      {"1625572805", "Away.", "Tuesday, July 06, 2021 - 12:00:05", "ftp://carl:x@files",
       "files|0|carl|x"},
      {"1640995199", "", "Friday, December 31, 2021 - 23:59:59", "/data/stock.db", "|0||"},
  };
  const std::string box =
      "Startup Message|Away.|" + std::to_string(wxOK | wxICON_INFORMATION) + "|0";
  std::string guid;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    ASSERT_TRUE(WriteProfileString("Options", "StartMessage", c.message));
    home_.SetEnv("ZORM_PROBE_TIME", c.time);
    auto report = StartProbe(c.arg, *c.message ? box : "");
    EXPECT_EQ(std::to_string(&c - cases + 1), report["RunCount"]);
    EXPECT_EQ(c.last_run_time, GetProfileString("Runtime", "LastRunTime"));
    EXPECT_EQ("30x20", report["Logo"]);
    EXPECT_EQ(c.server, report["Server"]);
    if (guid.empty()) guid = report["GUID"];
    EXPECT_EQ(guid, report["GUID"]);
    EXPECT_EQ(guid, GetProfileString("Runtime", "GUID"));
  }
  EXPECT_EQ(36u, guid.size()) << guid;
  std::filesystem::remove(logo);
}

// Programs started together each get their own number: none is counted twice.
TEST_F(WinAppTest, ProgramsStartedTogetherAreEachCounted) {
  constexpr int kPrograms = 4, kStartsEach = 6;
  std::vector<std::thread> programs;
  for (int p = 0; p < kPrograms; ++p)
    programs.emplace_back([this] {
      for (int i = 0; i < kStartsEach; ++i) StartProbe();
    });
  for (std::thread& program : programs) program.join();
  EXPECT_EQ(unsigned{kPrograms * kStartsEach}, GetProfileInt("Runtime", "RunCount", 0));
}

// The switch decides whether the server is asked; its answer's location is kept, not followed.
TEST_F(WinAppTest, MachineSwitchDecidesWhetherTheUpdateServerIsAsked) {
  const std::pair<std::optional<RegValue>, bool> cases[] = {
      // SOFTWARE\Morvend\DisableUpdateCheck, and whether the server is asked
      {std::nullopt, true},
      {RegValue::Dword(7), false},
      {RegValue::Dword(0), true},
      {RegValue::String("1"), true}};
  for (const auto& [value, asked] : cases) {
    RegistryKeyHandle key = nullptr;
    if (value) {
      ASSERT_TRUE(
          RegistryCreateKey(kHKeyLocalMachine, "SOFTWARE\\Morvend", kKeyAllAccess, &key).ok());
      ASSERT_TRUE(RegistrySetValue(key, "DisableUpdateCheck", *value).ok());
      RegistryCloseKey(key);
    }
    CannedHttpServer server(CannedHttpServer::Mode::kAnswer,
                            "HTTP/1.1 302 Found\r\nLocation: http://x.invalid/new.msi\r\n\r\n");
    home_.SetEnv("ZORMUPDATESERVER", server.host_port().c_str());
    EXPECT_EQ(asked ? "http://x.invalid/new.msi" : "", StartProbe()["Upgrade"]);
    const std::string request = server.LastRequest();
    EXPECT_EQ(asked,
              request.rfind("GET /version.cgi HTTP/1.1\r\n", 0) == 0 &&
                  request.find("\r\nUser-Agent: Calvaro Probe/2021-6-5 (") != std::string::npos)
        << request;
  }
}

// A handler's error is the user's to read and the program goes on; an error
// outside any handler is a crash.
TEST_F(WinAppTest, HandlerErrorsAreShownAndOtherErrorsEndWithADump) {
  home_.SetEnv("ZORM_PROBE_TIME", "1767225600");  // 1 January 2026
  const std::string box = "Dialog=app_probe|Invalid argument: no row 7.|" +
                          std::to_string(wxOK | wxICON_ERROR) + "|";
  for (const char* where : {"handler", "start-up"}) {
    SCOPED_TRACE(where);
    home_.SetEnv("ZORM_PROBE_CRASH", where);
    ProgramRun run = RunProgram({APP_PROBE_PATH});
    ASSERT_TRUE(WIFEXITED(run.status)) << run.status;
    const std::string dump_path =
        home_.temp_dir() + "/ZORM-2026-0-" + std::to_string(run.pid) + ".dmp";
    const std::string dump = ReadWholeFile(dump_path);
    if (where == std::string("handler")) {
      EXPECT_NE(std::string::npos, run.out.find(box + "1\nGoesOn=yes\n")) << run.out;
      EXPECT_EQ("", dump);
      continue;
    }
    EXPECT_EQ(128 + SIGABRT, WEXITSTATUS(run.status));
    EXPECT_NE(std::string::npos,
              run.err.find("Program Terminated: This Program has terminated due to error.\n\n"
                           "A debugging dump file has been created at " +
                           dump_path +
                           ".\n\nIf you send us this file we can use it to fix the problem.\n"))
        << run.err;
    EXPECT_EQ(0u, dump.find("Calvaro crash dump\nProgram: " APP_PROBE_PATH "\nProcess: " +
                            std::to_string(run.pid) + " "))
        << dump.substr(0, 500);
    EXPECT_NE(std::string::npos, dump.find("\nWhat: thrown outside any handler\n"));
  }
}
