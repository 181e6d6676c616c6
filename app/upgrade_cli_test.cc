// calvaro-upgrade-cli as a script runs it: the real program against the vendor's
// site on lighttpd, installing real packages built by wixl.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/upgrade_summary.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace {

const std::string kCli = CALVARO_UPGRADE_CLI_PATH;
const std::string kPackageV1 = std::string(ZORM_TEST_PACKAGES) + "/abc_v1.msi";

class UpgradeCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(site_.Start(&error)) << error;
    home_.SetEnv("ZORMVENDORSERVER", site_.host_port().c_str());
    home_.SetEnv("TZ", "UTC");
    home_.SetEnv("ZORMREPORTFORMAT", nullptr);
  }

  ProgramRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), kCli);
    return RunProgram(args, home_.path());
  }

  static int ExitCode(const ProgramRun& run) {
    return WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
  }

  // What follows the summary and its empty line.
  static std::string History(const ProgramRun& run) {
    const size_t end = run.out.find("\n\n");
    return end == std::string::npos ? std::string() : run.out.substr(end + 2);
  }

  ScopedTestHome home_;
  // A '|' inside a description must not split the record.
  VendorSite site_{{true,
                    "INSERT INTO module VALUES ('PIPE', 'Pipes', 'Pipes');"
                    "INSERT INTO change (module, title, description, published) VALUES "
                    "('PIPE', 'F1 Pipes', 'a|b||c', '2021-01-02 03:04:05');",
                    {}}};
};

TEST_F(UpgradeCliTest, PrintsTheSummaryThenTheChangeHistory) {
  const ProgramRun run =
      Run({"ABC", "Jul 5 2021", "/home/op/abc.msi", "--properties", "INSTALLDIR=/opt/abc"});
  ASSERT_FALSE(run.hung);
  EXPECT_EQ(ExitCode(run), 0) << run.err;
  const std::string age = AgeText(ParseOleDate("Jul 5 2021"));
  EXPECT_EQ(run.out.substr(0, run.out.find("\n\n") + 2),
            "URL: /home/op/abc.msi\nModule: ABC\nBuilt: Monday, July 05, 2021\nAge: " + age +
                "\nMSI Properties: INSTALLDIR=/opt/abc\n\n");
  const std::string history = History(run);
  EXPECT_NE(history.find("Change History"), std::string::npos) << history;
  const char* in_order[] = {"Enhancement 2021-07-06 Scanning a warehouse",
                            "Fix         2021-06-28 Negative totals", "Enhancement 2021-05-17",
                            "Fix         2021-04-01 Dialog texts reworded"};
  size_t at = 0;
  for (const char* text : in_order) {
    const size_t found = history.find(text, at);
    ASSERT_NE(found, std::string::npos) << text << "\n" << history;
    at = found;
  }
}

TEST_F(UpgradeCliTest, WritesTheHistoryInTheFormatTheEnvironmentAsks) {
  home_.SetEnv("ZORMREPORTFORMAT", "json");
  const ProgramRun run = Run({"PIPE", "Jul 5 2021", "pkg.msi"});
  EXPECT_EQ(ExitCode(run), 0) << run.err;
  cJSON* document = cJSON_Parse(History(run).c_str());
  ASSERT_NE(document, nullptr) << History(run);
  // [{"title": ..., "creation_time": ..., "records": [...]}]
  cJSON* section = cJSON_GetArrayItem(document, 0);
  EXPECT_STREQ(cJSON_GetStringValue(cJSON_GetObjectItem(section, "title")), "Change History");
  cJSON* records = cJSON_GetObjectItem(section, "records");
  ASSERT_NE(records, nullptr) << History(run);
  ASSERT_EQ(cJSON_GetArraySize(records), 1);
  cJSON* record = cJSON_GetArrayItem(records, 0);
  EXPECT_STREQ(cJSON_GetStringValue(cJSON_GetObjectItem(record, "type")), "Fix");
  EXPECT_STREQ(cJSON_GetStringValue(cJSON_GetObjectItem(record, "date")), "2021-01-02");
  EXPECT_STREQ(cJSON_GetStringValue(cJSON_GetObjectItem(record, "description")),
               "a\xC2\xA6"
               "b\xC2\xA6\xC2\xA6"
               "c");
  cJSON_Delete(document);
}

TEST_F(UpgradeCliTest, InstallsWithTheGivenProperties) {
  const std::string target = home_.path() + "/chosen";
  const ProgramRun run =
      Run({"ABC", "Jul 5 2021", kPackageV1, "--install", "--properties", "INSTALLDIR=" + target});
  EXPECT_EQ(ExitCode(run), 0) << run.out << run.err;
  EXPECT_TRUE(std::filesystem::exists(target + "/alpha.txt"));
  EXPECT_TRUE(std::filesystem::exists(target + "/doc/beta.txt"));
  EXPECT_EQ(run.out.find("Windows Installer returned code"), std::string::npos);
}

TEST_F(UpgradeCliTest, AFailedInstallPrintsItsCodeAndExitsWithItsLowByte) {
  const std::string not_msi = home_.path() + "/not.msi";
  ASSERT_TRUE(WriteWholeFile(not_msi, "this is not a package"));
  struct Case {
    std::string package, properties;
    unsigned code;
  } cases[] = {
      {not_msi, "", 1620},
      {home_.path() + "/missing.msi", "", 1619},
      {kPackageV1, "INSTALLDIR=\"/unterminated", 1639},
  };
  for (const Case& c : cases) {
    const ProgramRun run =
        Run({"ABC", "Jul 5 2021", c.package, "--install", "--properties", c.properties});
    EXPECT_EQ(ExitCode(run), static_cast<int>(c.code & 0xFF)) << c.package;
    EXPECT_NE(run.out.find("Windows Installer returned code: " + std::to_string(c.code) + "\n"),
              std::string::npos)
        << run.out;
  }
  EXPECT_FALSE(std::filesystem::exists(home_.data_home() + "/Morvend"));
}

TEST_F(UpgradeCliTest, AFeedErrorGoesToStandardErrorAndTheInstallStillRuns) {
  home_.SetEnv("ZORMVENDORSERVER", "127.0.0.1:1");
  ProgramRun run = Run({"ABC", "Jul 5 2021", kPackageV1});
  EXPECT_EQ(ExitCode(run), 1);
  EXPECT_NE(run.err.find("change history of \"ABC\""), std::string::npos) << run.err;
  EXPECT_EQ(History(run), "");
  EXPECT_EQ(run.out.rfind("URL: ", 0), 0u);

  const std::string target = home_.path() + "/anyway";
  run = Run({"ABC", "Jul 5 2021", kPackageV1, "--install", "--properties", "INSTALLDIR=" + target});
  EXPECT_EQ(ExitCode(run), 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(target + "/alpha.txt"));
}

TEST_F(UpgradeCliTest, RefusesACommandLineItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"ABC", "Jul 5 2021"},
      {"ABC", "Jul 5 2021", "pkg.msi", "extra"},
      {"ABC", "Jul 5 2021", "pkg.msi", "--properties"},
      {"ABC", "Jul 5 2021", "pkg.msi", "--bogus"},
  };
  for (const auto& args : bad) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(ExitCode(run), 2) << args.size();
    EXPECT_NE(run.err.find("usage: calvaro-upgrade-cli"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(UpgradeCliTest, AnUnparseableDateStillGivesASummary) {
  const ProgramRun run = Run({"ABC", "not a date", "pkg.msi"});
  EXPECT_EQ(ExitCode(run), 0);
  EXPECT_NE(run.out.find("Built: Invalid DateTime\n"), std::string::npos) << run.out;
}

}  // namespace
