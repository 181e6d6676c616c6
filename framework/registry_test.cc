#include "framework/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/settings_store.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

namespace {

// A private home with messages recorded, and a machine-wide store with
// SOFTWARE\Morvend holding a number and a text.
class CZORMRegistryTest : public ::testing::Test {
 protected:
  CZORMRegistryTest() {
    previous_ = SetUserMessageHandler(
        [this](const std::string& caption, const std::string& text, MessageIcon icon) {
          shown_.push_back(caption + "|" + text + "|" + std::to_string(int(icon)));
        });
    SettingsStore(RegistryRoot::kLocalMachine).Update([](RegTree& tree) {
      tree["SOFTWARE\\Morvend"]["DisableUpdateCheck"] = RegValue::Dword(1);
      tree["SOFTWARE\\Morvend"]["Text"] = RegValue::String("1");
      return true;
    });
  }
  ~CZORMRegistryTest() override {
    chmod((home_.config_dir() + "/Morvend").c_str(), 0755);
    SetUserMessageHandler(previous_);
  }

  ScopedTestHome home_;
  std::vector<std::string> shown_;
  UserMessageHandler previous_;
};

TEST_F(CZORMRegistryTest, ReadDWORDChangesTheVariableOnlyForANumber) {
  struct Case {
    const char* key;  // null: no key open
    const char* name;
    bool read;
    uint32_t value;
  } cases[] = {
      {nullptr, "DisableUpdateCheck", false, 0xDEADBEEF},
      {"SOFTWARE\\Morvend", "Missing", false, 0xDEADBEEF},
      {"SOFTWARE\\Morvend", "Text", false, 0xDEADBEEF},
      {"SOFTWARE\\Morvend", "disableupdatecheck", true, 1},
  };
  for (const Case& c : cases) {
    CZORMRegistry registry;
    registry.SetAccess(kKeyRead);
    ASSERT_TRUE(!c.key || registry.OpenKey(c.key, kHKeyLocalMachine));
    uint32_t variable = 0xDEADBEEF;
    EXPECT_EQ(c.read, registry.ReadDWORD(c.name, variable)) << c.name;
    EXPECT_EQ(c.value, variable) << c.name;
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(CZORMRegistryTest, FailedOpenKeepsTheOpenKeyAndTellsTheUserUnlessQuiet) {
  ASSERT_EQ(0, chmod((home_.config_dir() + "/Morvend").c_str(), 0555));
  CZORMRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Morvend", kHKeyCurrentUser));
  const RegistryKeyHandle before = registry.m_hKey;
  struct Case {
    bool quiet;
    uint32_t access;
    const char* key;
    std::vector<std::string> shown;
  } cases[] = {
      {false, kKeyAllAccess, "SOFTWARE\\Morvend", {"Registry Error|Access is denied.|64"}},
      {true, kKeyAllAccess, "SOFTWARE\\Morvend", {}},
      {false, kKeyRead, "SOFTWARE\\Missing", {"Registry Error|Access is denied.|64"}},
  };
  for (const Case& c : cases) {
    shown_.clear();
    registry.SetQuiet(c.quiet);
    registry.SetAccess(c.access);
    EXPECT_FALSE(registry.OpenKey(c.key, kHKeyLocalMachine)) << c.key;
    EXPECT_EQ(before, registry.m_hKey) << c.key;
    EXPECT_EQ(c.shown, shown_) << c.key;
  }
}

TEST_F(CZORMRegistryTest, KeysAreClosedOrLeftOpenAsAsked) {
  RegistryKeyHandle first = nullptr, second = nullptr;
  {
    CZORMRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\A", kHKeyCurrentUser));
    first = registry.m_hKey;
    ASSERT_TRUE(registry.OpenKey("Software\\B", kHKeyCurrentUser, false));
    second = registry.m_hKey;
    EXPECT_NE(first, second);
    registry.m_bNoClose = true;
  }
  // Neither the second open nor the destructor closed a handle.
  for (RegistryKeyHandle key : {first, second}) {
    EXPECT_EQ(kRegistrySuccess, RegistrySetValue(key, "v", RegValue::Dword(1)));
    EXPECT_EQ(kRegistrySuccess, RegistryCloseKey(key));
  }
}

}  // namespace
