#include "framework/registry_wrapper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/settings_store.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

// A private home whose machine-wide store holds SOFTWARE\Morvend with a number and
// a text; messages to the user are recorded.
class CZORMRegistryTest : public ::testing::Test {
 protected:
  CZORMRegistryTest() {
    SetUserMessageHandler(
        [this](const std::string& caption, const std::string& text, MessageIcon icon) {
          shown_ += caption + "|" + text + "|" + std::to_string(int(icon));
        });
    SettingsStore(RegistryRoot::kLocalMachine).Update([](RegTree& tree) {
      tree["SOFTWARE\\Morvend"]["DisableUpdateCheck"] = RegValue::Dword(1);
      tree["SOFTWARE\\Morvend"]["Text"] = RegValue::String("1");
      return true;
    });
  }
  ~CZORMRegistryTest() override {
    chmod(machine_folder_.c_str(), 0755);
    SetUserMessageHandler(nullptr);
  }

  ScopedTestHome home_;
  const std::string machine_folder_ = home_.config_dir() + "/Morvend";
  std::string shown_;
};

TEST_F(CZORMRegistryTest, ReadDWORDChangesTheVariableOnlyForANumber) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      // The key opened (null: none), the value's name, whether it is read
      {nullptr, "DisableUpdateCheck", false},
      {"SOFTWARE\\Morvend", "Missing", false},
      {"SOFTWARE\\Morvend", "Text", false},
      {"SOFTWARE\\Morvend", "disableupdatecheck", true},
  };
  for (const auto& [key, name, read] : cases) {
    CZORMRegistry registry;
    registry.SetAccess(kKeyRead);
    ASSERT_TRUE(!key || registry.OpenKey(key, kHKeyLocalMachine));
    uint32_t variable = 0xDEADBEEF;
    EXPECT_EQ(read, registry.ReadDWORD(name, variable)) << name;
    EXPECT_EQ(read ? 1 : 0xDEADBEEF, variable) << name;
  }
}

TEST_F(CZORMRegistryTest, FailedOpenKeepsTheOpenKeyAndTellsTheUserUnlessQuiet) {
  CZORMRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Morvend", kHKeyCurrentUser));
  const RegistryKeyHandle before = registry.m_hKey;
  chmod(machine_folder_.c_str(), 0555);
  const std::tuple<bool, uint32_t, const char*> cases[] = {
      // quiet, access, key
      {false, kKeyAllAccess, "SOFTWARE\\Morvend"},
      {true, kKeyAllAccess, "SOFTWARE\\Morvend"},
      {false, kKeyRead, "SOFTWARE\\Missing"},
  };
  for (const auto& [quiet, access, key] : cases) {
    shown_.clear();
    registry.SetQuiet(quiet);
    registry.SetAccess(access);
    EXPECT_FALSE(registry.OpenKey(key, kHKeyLocalMachine)) << key;
    EXPECT_EQ(before, registry.m_hKey) << key;
    EXPECT_EQ(quiet ? "" : "Registry Error|Access is denied.|64", shown_) << key;
  }
}
