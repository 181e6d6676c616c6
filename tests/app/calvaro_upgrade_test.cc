// calvaro-upgrade as an operator starts it: main parses the command line once, the
// early change-history load asks the vendor's site for that module, the window
// comes up, and Escape (its "Cancel") ends the program normally.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

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
  // Presses Escape in the window once it is shown, from outside the program, and
  // again each second while it stays: a key that comes before the window takes
  // keys is lost, and an operator would press again.
  std::atomic<bool> ended = false;
  auto escape = std::async(std::launch::async, [&ended] {
    std::vector<std::string> press = {"/usr/bin/xdotool", "search", "--sync", "--onlyvisible",
                                      "--name", "^Calvaro Upgrade Utility$", "key", "--window",
                                      "%1", "Escape"};
    ProgramRun key = RunProgram(press, "", 60);
    std::erase(press, "--sync");
    while (key.status == 0 && !ended) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      if (!ended && RunProgram(press, "", 10).status != 0) break;  // the window is gone
    }
    return key;
  });
  const ProgramRun run =
      RunProgram({CALVARO_UPGRADE_PATH, "-x", "ABC", "Jul  5 2021", home.path() + "/abc.msi"});
  ended = true;
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
