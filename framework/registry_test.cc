#include "framework/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/settings_store.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

namespace {

struct Shown {
  std::string caption, text;
  MessageIcon icon;
};

// A private home, a recorder for user messages, and a machine-wide store with
// SOFTWARE\Morvend holding a number, a text and nothing else.
class CZORMRegistryTest : public ::testing::Test {
 protected:
  CZORMRegistryTest() {
    previous_ = SetUserMessageHandler(
        [this](const std::string& caption, const std::string& text, MessageIcon icon) {
          shown_.push_back({caption, text, icon});
        });
    SettingsStore(RegistryRoot::kLocalMachine).Update([](RegTree& tree) {
      tree["SOFTWARE\\Morvend"]["DisableUpdateCheck"] = RegValue::Dword(1);
      tree["SOFTWARE\\Morvend"]["Text"] = RegValue::String("1");
      return true;
    });
  }
  ~CZORMRegistryTest() override {
    chmod(MachineFolder().c_str(), 0755);
    SetUserMessageHandler(previous_);
  }
  std::string MachineFolder() const { return home_.config_dir() + "/Morvend"; }

  ScopedTestHome home_;
  std::vector<Shown> shown_;
  UserMessageHandler previous_;
};

TEST_F(CZORMRegistryTest, ReadDWORDChangesTheVariableOnlyForANumber) {
  CZORMRegistry registry;
  uint32_t value = 0xDEADBEEF;
  EXPECT_FALSE(registry.ReadDWORD("DisableUpdateCheck", value));  // no key open yet
  EXPECT_EQ(value, 0xDEADBEEFu);

  registry.SetAccess(kKeyRead);
  ASSERT_TRUE(registry.OpenKey("SOFTWARE\\Morvend", kHKeyLocalMachine));
  const struct {
    const char* name;
    bool read;
    uint32_t value;
  } cases[] = {
      {"Missing", false, 0xDEADBEEF},
      {"Text", false, 0xDEADBEEF},
      {"disableupdatecheck", true, 1},
  };
  for (const auto& c : cases) {
    uint32_t variable = 0xDEADBEEF;
    EXPECT_EQ(registry.ReadDWORD(c.name, variable), c.read) << c.name;
    EXPECT_EQ(variable, c.value) << c.name;
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(CZORMRegistryTest, OpenKeyCreatesMissingKeys) {
  CZORMRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Morvend\\New", kHKeyCurrentUser));
  EXPECT_NE(ReadWholeFile(SettingsStore(RegistryRoot::kCurrentUser).path())
                .find("[HKEY_CURRENT_USER\\Software\\Morvend\\New]"),
            std::string::npos);
  EXPECT_EQ(RegistrySetValue(registry.m_hKey, "v", RegValue::Dword(5)), kRegistrySuccess);
  uint32_t value = 0;
  EXPECT_TRUE(registry.ReadDWORD("v", value));
  EXPECT_EQ(value, 5u);
}

TEST_F(CZORMRegistryTest, AReadOnlyMachineStoreFailsLoudlyOrQuietly) {
  ASSERT_EQ(chmod(MachineFolder().c_str(), 0555), 0);
  CZORMRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Morvend", kHKeyCurrentUser));
  RegistryKeyHandle before = registry.m_hKey;

  const struct {
    bool quiet;
    uint32_t access;
    const char* key;
    bool opens;
  } cases[] = {
      {false, kKeyAllAccess, "SOFTWARE\\Morvend", false},  // the default access
      {true, kKeyAllAccess, "SOFTWARE\\Morvend", false},
      {false, kKeyRead, "SOFTWARE\\Missing", false},
      {true, kKeyRead, "SOFTWARE\\Missing", false},
  };
  for (const auto& c : cases) {
    shown_.clear();
    registry.SetQuiet(c.quiet);
    registry.SetAccess(c.access);
    EXPECT_EQ(registry.OpenKey(c.key, kHKeyLocalMachine), c.opens) << c.key;
    EXPECT_EQ(registry.m_hKey, before) << "the open key stays";
    if (c.quiet) {
      EXPECT_TRUE(shown_.empty()) << c.key;
    } else {
      ASSERT_EQ(shown_.size(), 1u) << c.key;
      EXPECT_EQ(shown_[0].caption, "Registry Error");
      EXPECT_EQ(shown_[0].text, "Access is denied.");
      EXPECT_EQ(shown_[0].icon, MessageIcon::kInformation);
    }
  }
  // Reading the machine switch still works, as the application base does it.
  CZORMRegistry quiet;
  quiet.SetQuiet(true);
  quiet.SetAccess(kKeyRead);
  uint32_t disabled = 0;
  ASSERT_TRUE(quiet.OpenKey("SOFTWARE\\Morvend", kHKeyLocalMachine));
  EXPECT_TRUE(quiet.ReadDWORD("DisableUpdateCheck", disabled));
  EXPECT_EQ(disabled, 1u);
}

TEST_F(CZORMRegistryTest, KeysAreClosedOrLeftOpenAsAsked) {
  RegistryKeyHandle kept = nullptr;
  RegistryKeyHandle first = nullptr;
  {
    CZORMRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\A", kHKeyCurrentUser));
    first = registry.m_hKey;
    ASSERT_TRUE(registry.OpenKey("Software\\B", kHKeyCurrentUser, false));
    EXPECT_NE(registry.m_hKey, first);
    kept = registry.m_hKey;
    registry.m_bNoClose = true;
  }
  // Both handles are still usable: the first was not closed by the second open,
  // the second not by the destructor.
  for (RegistryKeyHandle key : {first, kept}) {
    EXPECT_EQ(RegistrySetValue(key, "v", RegValue::Dword(1)), kRegistrySuccess);
    EXPECT_EQ(RegistryCloseKey(key), kRegistrySuccess);
  }
}

}  // namespace
