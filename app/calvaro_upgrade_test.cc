// The calvaro-upgrade program itself, started as the operator starts it, in the
// test run's X server: its window appears with its icons, closing it ends the
// program normally, and the framework's run statistics are kept.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "app/x_window_closer.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace {

const char kTitle[] = "Calvaro Upgrade Utility";

TEST(CalvaroUpgradeProgramTest, OpensWithOrWithoutArgumentsAndEndsNormallyWhenClosed) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (DISPLAY)";
  ScopedTestHome home;
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  home.SetEnv("ZORMVENDORSERVER", site.host_port().c_str());
  home.SetEnv("ZORMUPDATESERVER", site.host_port().c_str());

  const std::vector<std::vector<std::string>> command_lines = {
      {CALVARO_UPGRADE_PATH, "ABC", "Jul  5 2021", home.path() + "/abc.msi"},
      {CALVARO_UPGRADE_PATH},
  };
  for (const auto& command_line : command_lines) {
    XWindowCloser closer(kTitle);
    ProgramRun run = RunProgram(command_line, "", 60);
    closer.Join();
    EXPECT_TRUE(closer.found) << "no window named " << kTitle;
    EXPECT_EQ(closer.icon_sizes, (std::vector<unsigned long>{16, 32, 48, 256}));
    EXPECT_FALSE(run.hung);
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)
        << "status " << run.status << "\n"
        << run.err;
  }
  // Both runs were counted in the program's own profile.
  const std::string registry = ReadWholeFile(home.config_home() + "/Morvend/registry.reg");
  EXPECT_NE(registry.find("[HKEY_CURRENT_USER\\Software\\Morvend\\calvaro-upgrade\\Runtime]"),
            std::string::npos)
      << registry;
  EXPECT_NE(registry.find("\"RunCount\"=dword:00000002"), std::string::npos) << registry;
}

}  // namespace
