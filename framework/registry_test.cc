#include "framework/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/settings_store.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

namespace {

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
  const struct Case {
    const char* key;  // null: none open
    const char* name;
    bool read;
  } cases[] = {
      {nullptr, "DisableUpdateCheck", false},
      {"SOFTWARE\\Morvend", "Missing", false},
      {"SOFTWARE\\Morvend", "Text", false},
      {"SOFTWARE\\Morvend", "disableupdatecheck", true},
  };
  for (const Case& c : cases) {
    CZORMRegistry registry;
    registry.SetAccess(kKeyRead);
    ASSERT_TRUE(!c.key || registry.OpenKey(c.key, kHKeyLocalMachine));
    uint32_t variable = 0xDEADBEEF;
    EXPECT_EQ(c.read, registry.ReadDWORD(c.name, variable)) << c.name;
    EXPECT_EQ(c.read ? 1 : 0xDEADBEEF, variable) << c.name;
  }
}

TEST_F(CZORMRegistryTest, FailedOpenKeepsTheOpenKeyAndTellsTheUserUnlessQuiet) {
  CZORMRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Morvend", kHKeyCurrentUser));
  const RegistryKeyHandle before = registry.m_hKey;
  chmod(machine_folder_.c_str(), 0555);
  const struct Case {
    bool quiet;
    uint32_t access;
    const char* key;
  } cases[] = {
      {false, kKeyAllAccess, "SOFTWARE\\Morvend"},
      {true, kKeyAllAccess, "SOFTWARE\\Morvend"},
      {false, kKeyRead, "SOFTWARE\\Missing"},
  };
  for (const Case& c : cases) {
    shown_.clear();
    registry.SetQuiet(c.quiet);
    registry.SetAccess(c.access);
    EXPECT_FALSE(registry.OpenKey(c.key, kHKeyLocalMachine)) << c.key;
    EXPECT_EQ(before, registry.m_hKey) << c.key;
    EXPECT_EQ(c.quiet ? "" : "Registry Error|Access is denied.|64", shown_) << c.key;
  }
}

}  // namespace
