#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/settings_store.h"
#include "tests/support/test_env.h"

TEST(ProfileTest, EntriesLiveUnderTheMakersKeyAndReadWithDefaults) {
  ScopedTestHome home;
  SetProfileApplicationName("");
  EXPECT_EQ(ProfileKeyPath(), "Software\\Morvend\\platform_test");  // the executable's name
  SetProfileApplicationName("profile-test");
  ASSERT_TRUE(WriteProfileInt("Runtime", "RunCount", 10));
  ASSERT_TRUE(WriteProfileString("Runtime", "LastRunTime", "Monday"));
  ASSERT_TRUE(WriteProfileInt("Runtime", "Negative", -1));
  ASSERT_TRUE(WriteProfileString("Runtime", "Gone", "x"));
  ASSERT_TRUE(WriteProfileString("Runtime", "Gone", nullptr));  // a null value deletes the entry
  ASSERT_TRUE(WriteProfileString("Options", "Kept", "x"));
  ASSERT_TRUE(WriteProfileString("Options", nullptr, nullptr));  // a null entry the section
  EXPECT_EQ(ReadWholeFile(SettingsStore(RegistryRoot::kCurrentUser).path()),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\profile-test\\Runtime]\n"
            "\"LastRunTime\"=\"Monday\"\n"
            "\"Negative\"=dword:ffffffff\n"
            "\"RunCount\"=dword:0000000a\n");
  struct Case {
    const char *section, *entry;
    unsigned number;   // GetProfileInt with default 7
    std::string text;  // GetProfileString with default "dflt"
  };
  const Case cases[] = {{"Runtime", "RunCount", 10, "dflt"},
                        {"runtime", "RUNCOUNT", 10, "dflt"},
                        {"Runtime", "LastRunTime", 7, "Monday"},
                        {"Runtime", "Gone", 7, "dflt"},
                        {"Options", "Kept", 7, "dflt"}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetProfileInt(c.section, c.entry, 7), c.number) << c.entry;
    EXPECT_EQ(GetProfileString(c.section, c.entry, "dflt"), c.text) << c.entry;
  }
  // A folder the user may not write keeps the old value.
  const std::string folder = home.config_home() + "/Morvend";
  ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
  EXPECT_FALSE(WriteProfileInt("Runtime", "RunCount", 2));
  EXPECT_EQ(GetProfileInt("Runtime", "RunCount", 0), 10u);
  chmod(folder.c_str(), 0700);
  SetProfileApplicationName("");
}
