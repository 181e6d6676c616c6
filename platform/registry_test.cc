#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/test_env.h"

namespace {

// Closes a handle at the end of a test scope.
struct Key {
  RegistryKeyHandle handle = nullptr;
  ~Key() {
    if (handle != nullptr) RegistryCloseKey(handle);
  }
};

TEST(RegistryTest, QueryValueReportsTypeSizeAndData) {
  ScopedTestHome home;
  Key key, again;
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyAllAccess, &key.handle), 0);
  RegistrySetValue(key.handle, "text", RegValue::String("hello"));
  RegistrySetValue(key.handle, "number", RegValue::Dword(0x01020304));
  const std::string path = SettingsStore(RegistryRoot::kCurrentUser).path();
  ASSERT_TRUE(WriteWholeFile(path, ReadWholeFile(path) + "\"blob\"=hex:01,02\n"));
  // A handle opened through another spelling of the same key sees the values.
  ASSERT_EQ(RegistryOpenKey(kHKeyCurrentUser, "SOFTWARE\\t", kKeyRead, &again.handle), 0);
  struct Case {
    const char* name;
    uint32_t room;
    long code;
    uint32_t type, size;
    std::string data;
  };
  const Case cases[] = {
      {"text", 64, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"TEXT", 6, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"text", 5, kRegistryMoreData, kRegSz, 6, ""},
      {"number", 4, kRegistrySuccess, kRegDword, 4, std::string("\x04\x03\x02\x01", 4)},
      {"blob", 64, kRegistrySuccess, kRegNone, 9, "hex:01,02"},
      {"missing", 64, kRegistryFileNotFound, 99, 64, ""},
  };
  for (const Case& c : cases) {
    char data[64] = {};
    uint32_t type = 99, size = c.room;
    EXPECT_EQ(RegistryQueryValue(again.handle, c.name, &type, data, &size), c.code) << c.name;
    EXPECT_EQ(std::make_pair(type, size), std::make_pair(c.type, c.size)) << c.name;
    EXPECT_EQ(std::string(data, c.data.size()), c.data) << c.name;
  }
}

// A machine-wide store its folder's mode makes read-only: existing keys open for
// reading, anything that would change the store is denied, also to root.
TEST(RegistryTest, AReadOnlyMachineStoreDeniesCreatingAndChanging) {
  ScopedTestHome home;
  Key setup;
  ASSERT_EQ(RegistryCreateKey(kHKeyLocalMachine, "SOFTWARE\\Morvend", kKeyAllAccess, &setup.handle),
            0);
  ASSERT_EQ(RegistrySetValue(setup.handle, "DisableUpdateCheck", RegValue::Dword(1)), 0);
  const std::string folder = home.config_dir() + "/Morvend";
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  const std::pair<const char*, uint32_t> cases[] = {{"Software\\morvend", kKeyQueryValue},
                                                    {"SOFTWARE\\Morvend", kKeyAllAccess},
                                                    {"SOFTWARE\\Morvend", kKeyRead | kKeySetValue},
                                                    {"SOFTWARE\\Other", kKeyRead}};
  for (const auto& [name, access] : cases) {
    Key key;
    const long code = access == kKeyQueryValue ? kRegistrySuccess : kRegistryAccessDenied;
    EXPECT_EQ(RegistryCreateKey(kHKeyLocalMachine, name, access, &key.handle), code) << name;
    EXPECT_EQ(key.handle == nullptr, code != kRegistrySuccess) << name;
  }
  EXPECT_EQ(RegistrySetValue(setup.handle, "DisableUpdateCheck", RegValue::Dword(0)),
            kRegistryAccessDenied);
  chmod(folder.c_str(), 0755);
}

}  // namespace
