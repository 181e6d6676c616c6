// calvaro-upgrade as an operator starts it: main parses the command line once, the
// early change-history load asks the vendor's site for that module, the window
// comes up, and Escape (its "Cancel") ends the program normally.
#include <gtest/gtest.h>

#include <future>

#include "platform/settings_store.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

TEST(CalvaroUpgradeTest, FetchesTheHistoryOfItsModuleShowsItsWindowAndEndsOnEscape) {
  ScopedTestHome home;
  VendorSite site({});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  home.SetEnv("ZORMVENDORSERVER", site.host_port().c_str());
  home.SetEnv("ZORMUPDATESERVER", site.host_port().c_str());
  // Presses Escape in the window once it is shown, from outside the program.
  auto escape = std::async(std::launch::async, [] {
    return RunProgram({"/usr/bin/xdotool", "search", "--sync", "--onlyvisible", "--name",
                       "^Calvaro Upgrade Utility$", "key", "--window", "%1", "Escape"},
                      "", 60);
  });
  const ProgramRun run =
      RunProgram({CALVARO_UPGRADE_PATH, "-x", "ABC", "Jul  5 2021", home.path() + "/abc.msi"});
  const ProgramRun key = escape.get();
  EXPECT_EQ(0, key.status) << key.err;
  ASSERT_FALSE(run.hung) << run.err;
  EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.err;
  // The flag counts as the first argument, as the platform's splitter has it.
  EXPECT_TRUE(site.server().AccessLogContains("GET /cgi/changelog.cgi?Module=x HTTP"));
  const RegValues runtime = SettingsStore(RegistryRoot::kCurrentUser)
                                .Load()["Software\\Morvend\\calvaro-upgrade\\Runtime"];
  EXPECT_EQ(RegValue::Dword(1), runtime.at("RunCount"));
}
