#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/test_env.h"

TEST(RegistryTest, QueryValueReportsTypeSizeAndDataThroughAnySpellingOfTheKey) {
  ScopedTestHome home;
  RegistryKeyHandle key = nullptr, again = nullptr;
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyAllAccess, &key), 0);
  RegistrySetValue(key, "text", RegValue::String("hello"));
  RegistrySetValue(key, "number", RegValue::Dword(0x01020304));
  ASSERT_EQ(RegistryOpenKey(kHKeyCurrentUser, "SOFTWARE\\t", kKeyRead, &again), 0);
  // Name, room in the buffer, and the code, type, size and data that come back.
  const std::tuple<const char*, uint32_t, long, uint32_t, uint32_t, std::string> cases[] = {
      {"TEXT", 6, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"text", 5, kRegistryMoreData, kRegSz, 6, ""},
      {"number", 4, kRegistrySuccess, kRegDword, 4, std::string("\x04\x03\x02\x01", 4)},
      {"missing", 64, kRegistryFileNotFound, 99, 64, ""}};
  for (const auto& [name, room, code, type, size, data] : cases) {
    char got_data[64] = {};
    uint32_t got_type = 99, got_size = room;
    EXPECT_EQ(RegistryQueryValue(again, name, &got_type, got_data, &got_size), code) << name;
    EXPECT_EQ(std::make_tuple(type, size, data),
              std::make_tuple(got_type, got_size, std::string(got_data, data.size())))
        << name;
  }
  RegistryCloseKey(key);
  RegistryCloseKey(again);
}

// A machine-wide store its folder's mode makes read-only: existing keys open for
// reading, anything that would change the store is denied, also to root.
TEST(RegistryTest, AReadOnlyMachineStoreDeniesCreatingAndChanging) {
  ScopedTestHome home;
  RegistryKeyHandle setup = nullptr;
  ASSERT_EQ(RegistryCreateKey(kHKeyLocalMachine, "SOFTWARE\\Morvend", kKeyAllAccess, &setup), 0);
  ASSERT_EQ(chmod((home.config_dir() + "/Morvend").c_str(), 0555), 0);
  const std::pair<const char*, uint32_t> cases[] = {{"Software\\morvend", kKeyQueryValue},
                                                    {"SOFTWARE\\Morvend", kKeyRead | kKeySetValue},
                                                    {"SOFTWARE\\Other", kKeyRead}};
  for (const auto& [name, access] : cases) {
    RegistryKeyHandle key = nullptr;
    const long code = access == kKeyQueryValue ? kRegistrySuccess : kRegistryAccessDenied;
    EXPECT_EQ(RegistryCreateKey(kHKeyLocalMachine, name, access, &key), code) << name;
    EXPECT_EQ(key == nullptr, code != kRegistrySuccess) << name;
    RegistryCloseKey(key);
  }
  EXPECT_EQ(RegistrySetValue(setup, "X", RegValue::Dword(0)), kRegistryAccessDenied);
  RegistryCloseKey(setup);
  chmod((home.config_dir() + "/Morvend").c_str(), 0755);
}
