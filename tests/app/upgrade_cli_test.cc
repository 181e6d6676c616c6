// calvaro-upgrade-cli as a script runs it: the real program against the vendor's
// site on lighttpd, installing a real package built by wixl.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/upgrade_summary.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace {

const std::string kPackage = std::string(ZORM_TEST_PACKAGES) + "/abc_v1.msi";

class UpgradeCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(site_.Start(&error)) << error;
    home_.SetEnv("ZORMVENDORSERVER", site_.host_port().c_str());
    home_.SetEnv("ZORMREPORTFORMAT", nullptr);
  }

  // Runs the program in the test's home; returns its exit code.
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), CALVARO_UPGRADE_CLI_PATH);
    run_ = RunProgram(args, home_.path());
    return WIFEXITED(run_.status) ? WEXITSTATUS(run_.status) : -1;
  }

  ScopedTestHome home_;
  ProgramRun run_;
  // A '|' inside a description must not split the record.
  VendorSite site_{{true,
                    "INSERT INTO change (module, title, description, published) VALUES "
                    "('ABC', 'F1 Pipes', 'a|b||c', '2021-01-02 03:04:05');",
                    {}}};
};

TEST_F(UpgradeCliTest, PrintsTheSummaryThenTheChangeHistory) {
  EXPECT_EQ(Run({"ABC", "Jul 5 2021", "/home/op/abc.msi", "--properties", "INSTALLDIR=/opt/abc"}),
            0)
      << run_.err;
  const std::string summary =
      "URL: /home/op/abc.msi\nModule: ABC\nBuilt: Monday, July 05, 2021\n"
      "Age: " +
      AgeText(ParseOleDate("Jul 5 2021")) + "\nMSI Properties: INSTALLDIR=/opt/abc\n\n";
  ASSERT_EQ(run_.out.rfind(summary, 0), 0u) << run_.out;
  size_t at = run_.out.find("Change History", summary.size());
  for (const char* text :
       {"Enhancement 2021-07-06 Scanning a warehouse", "Fix         2021-06-28 Negative totals",
        "Enhancement 2021-05-17", "Fix         2021-04-01 Dialog texts reworded",
        "Fix         2021-01-02 a\xC2\xA6"
        "b\xC2\xA6\xC2\xA6"
        "c"}) {
    ASSERT_NE(at, std::string::npos) << text << "\n" << run_.out;
    at = run_.out.find(text, at);
  }
  EXPECT_NE(at, std::string::npos) << run_.out;
}

TEST_F(UpgradeCliTest, InstallsWhateverTheFeedGaveAndExitsWithTheInstallersCode) {
  home_.SetEnv("ZORMVENDORSERVER", "127.0.0.1:1");
  EXPECT_EQ(Run({"ABC", "Jul 5 2021", kPackage}), 1);
  EXPECT_NE(run_.err.find("change history of \"ABC\""), std::string::npos) << run_.err;
  const std::string target = home_.path() + "/chosen";
  EXPECT_EQ(
      Run({"ABC", "Jul 5 2021", kPackage, "--install", "--properties", "INSTALLDIR=" + target}), 0)
      << run_.err;
  EXPECT_EQ(run_.out.find("\n\n"), run_.out.size() - 2);  // the summary alone
  EXPECT_TRUE(std::filesystem::exists(target + "/alpha.txt"));
  EXPECT_TRUE(std::filesystem::exists(target + "/doc/beta.txt"));
  EXPECT_EQ(Run({"ABC", "Jul 5 2021", home_.path() + "/missing.msi", "--install"}), 1619 & 0xFF);
  EXPECT_NE(run_.out.find("Windows Installer returned code: 1619\n"), std::string::npos)
      << run_.out;
}

TEST_F(UpgradeCliTest, RefusesACommandLineItCannotUse) {
  const std::vector<std::string> kCommandLines[] = {
      {},
      {"ABC", "Jul 5 2021"},
      {"ABC", "Jul 5 2021", "pkg.msi", "extra"},
      {"ABC", "Jul 5 2021", "pkg.msi", "--properties"},
      {"ABC", "Jul 5 2021", "pkg.msi", "--bogus"},
  };
  for (const auto& args : kCommandLines) {
    EXPECT_EQ(Run(args), 2) << testing::PrintToString(args);
    EXPECT_EQ(run_.out, "");
    EXPECT_NE(run_.err.find("usage: calvaro-upgrade-cli"), std::string::npos) << run_.err;
  }
}

}  // namespace
