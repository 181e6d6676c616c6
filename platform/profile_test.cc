#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/settings_store.h"
#include "tests/support/test_env.h"

namespace {

// A private home and a fixed application name for one test.
class ProfileTest : public ::testing::Test {
 protected:
  ProfileTest() { SetProfileApplicationName("profile-test"); }
  ~ProfileTest() override { SetProfileApplicationName(""); }
  std::string StoreText() { return ReadWholeFile(SettingsStore(RegistryRoot::kCurrentUser).path()); }

  ScopedTestHome home_;
};

TEST_F(ProfileTest, ValuesLiveUnderTheMakersKeyAndTheApplicationName) {
  EXPECT_EQ(ProfileKeyPath(), "Software\\Morvend\\profile-test");
  ASSERT_TRUE(WriteProfileInt("Runtime", "RunCount", 10));
  ASSERT_TRUE(WriteProfileString("Runtime", "GUID", "0C1E"));
  ASSERT_TRUE(WriteProfileInt("Options", "Negative", -1));
  EXPECT_EQ(StoreText(),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\profile-test\\Options]\n"
            "\"Negative\"=dword:ffffffff\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\profile-test\\Runtime]\n"
            "\"GUID\"=\"0C1E\"\n"
            "\"RunCount\"=dword:0000000a\n");
}

TEST_F(ProfileTest, ReadsGiveDefaultsForMissingValuesAndOtherTypes) {
  ASSERT_TRUE(WriteProfileInt("Runtime", "RunCount", 10));
  ASSERT_TRUE(WriteProfileString("Runtime", "LastRunTime", "Monday"));
  struct Case {
    const char* section;
    const char* entry;
    unsigned number;     // GetProfileInt with default 7
    std::string text;    // GetProfileString with default "dflt"
  };
  const Case cases[] = {
      {"Runtime", "RunCount", 10, "dflt"},
      {"runtime", "RUNCOUNT", 10, "dflt"},
      {"Runtime", "LastRunTime", 7, "Monday"},
      {"Runtime", "Missing", 7, "dflt"},
      {"Missing", "RunCount", 7, "dflt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetProfileInt(c.section, c.entry, 7), c.number) << c.entry;
    EXPECT_EQ(GetProfileString(c.section, c.entry, "dflt"), c.text) << c.entry;
  }
  EXPECT_EQ(GetProfileString("Options", "StartMessage"), "");
  EXPECT_EQ(GetProfileInt("Runtime", "Missing", -2), 0xFFFFFFFEu);
}

TEST_F(ProfileTest, NullValueOrEntryDeletes) {
  ASSERT_TRUE(WriteProfileString("Options", "StartMessage", "Hello"));
  ASSERT_TRUE(WriteProfileString("Options", "Keep", "Yes"));
  ASSERT_TRUE(WriteProfileInt("Runtime", "RunCount", 1));
  ASSERT_TRUE(WriteProfileString("Options", "StartMessage", nullptr));
  EXPECT_EQ(GetProfileString("Options", "StartMessage", "gone"), "gone");
  EXPECT_EQ(GetProfileString("Options", "Keep"), "Yes");
  ASSERT_TRUE(WriteProfileString("Options", "StartMessage", nullptr));  // already gone
  ASSERT_TRUE(WriteProfileString("Options", nullptr, nullptr));
  EXPECT_EQ(GetProfileString("Options", "Keep", "gone"), "gone");
  EXPECT_EQ(GetProfileInt("Runtime", "RunCount", 0), 1u);
  EXPECT_EQ(StoreText().find("Options"), std::string::npos);
}

TEST_F(ProfileTest, ReadingChangesNothingAndWritesCanFail) {
  EXPECT_EQ(GetProfileInt("Runtime", "RunCount", 0), 0u);
  const std::string path = SettingsStore(RegistryRoot::kCurrentUser).path();
  EXPECT_FALSE(std::filesystem::exists(path));

  ASSERT_TRUE(WriteProfileInt("Runtime", "RunCount", 1));
  const std::string folder = std::filesystem::path(path).parent_path();
  ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
  EXPECT_FALSE(WriteProfileInt("Runtime", "RunCount", 2));
  EXPECT_FALSE(WriteProfileString("Runtime", "GUID", "x"));
  EXPECT_EQ(GetProfileInt("Runtime", "RunCount", 0), 1u);
  chmod(folder.c_str(), 0700);
}

TEST(ProfileNameTest, DefaultsToTheExecutablesBaseName) {
  SetProfileApplicationName("");
  EXPECT_EQ(ProfileApplicationName(), "platform_test");
  SetProfileRegistryKey("Other");
  EXPECT_EQ(ProfileKeyPath(), "Software\\Other\\platform_test");
  SetProfileRegistryKey("Morvend");
}

}  // namespace
