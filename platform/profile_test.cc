#include "platform/profile.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "tests/support/test_env.h"

TEST(ProfileTest, EntriesLiveUnderTheMakersKeyAndReadWithDefaults) {
  ScopedTestHome home;
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
  // Section, entry, and what GetProfileInt (default 7) and GetProfileString ("dflt") read.
  const std::tuple<const char*, const char*, unsigned, const char*> cases[] = {
      {"runtime", "RUNCOUNT", 10, "dflt"},
      {"Runtime", "LastRunTime", 7, "Monday"},
      {"Runtime", "Gone", 7, "dflt"},
      {"Options", "Kept", 7, "dflt"}};
  for (const auto& [section, entry, number, text] : cases) {
    EXPECT_EQ(GetProfileInt(section, entry, 7), number) << entry;
    EXPECT_EQ(GetProfileString(section, entry, "dflt"), text) << entry;
  }
  SetProfileApplicationName("");
}
