#include "platform/profile.h"

#include <gtest/gtest.h>

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
  const RegTree tree = SettingsStore(RegistryRoot::kCurrentUser).Load();
  EXPECT_EQ(tree.size(), 1u);  // no Options
  EXPECT_EQ(tree.at("Software\\Morvend\\profile-test\\Runtime").at("Negative"),
            RegValue::Dword(0xFFFFFFFF));
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
  SetProfileApplicationName("");
}
