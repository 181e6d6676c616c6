#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/test_env.h"

// A machine store made read-only by its folder's mode (also to root) still reads.
TEST(RegistryTest, AReadOnlyMachineStoreReportsValuesAndDeniesCreating) {
  ScopedTestHome home;
  RegistryKeyHandle key = nullptr, again = nullptr, other = nullptr;
  ASSERT_TRUE(RegistryCreateKey(kHKeyLocalMachine, "Software\\T", kKeyAllAccess, &key).ok());
  RegistrySetValue(key, "text", RegValue::String("hello"));
  RegistrySetValue(key, "number", RegValue::Dword(0x01020304));
  ASSERT_EQ(chmod((home.config_dir() + "/Morvend").c_str(), 0555), 0);
  ASSERT_TRUE(RegistryCreateKey(kHKeyLocalMachine, "SOFTWARE\\t", kKeyQueryValue, &again).ok());
  const Status denied = RegistryCreateKey(kHKeyLocalMachine, "Software\\Other", kKeyRead, &other);
  EXPECT_EQ(denied.code(), kRegistryAccessDenied);
  EXPECT_EQ(denied.message(), "Access is denied.");
  // Name, room in the buffer, and the code, type, size and data that come back.
  const std::tuple<const char*, uint32_t, long, uint32_t, uint32_t, std::string> cases[] = {
      {"TEXT", 6, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"text", 5, kRegistryMoreData, kRegSz, 6, ""},
      {"number", 4, kRegistrySuccess, kRegDword, 4, std::string("\x04\x03\x02\x01", 4)},
      {"missing", 64, kRegistryFileNotFound, 99, 64, ""}};
  for (const auto& [name, room, code, type, size, data] : cases) {
    char got_data[64] = {};
    uint32_t got_type = 99, got_size = room;
    EXPECT_EQ(RegistryQueryValue(again, name, &got_type, got_data, &got_size).code(), code) << name;
    EXPECT_EQ(std::make_tuple(type, size, data),
              std::make_tuple(got_type, got_size, std::string(got_data, data.size())))
        << name;
  }
  RegistryCloseKey(key);
  RegistryCloseKey(again);
  chmod((home.config_dir() + "/Morvend").c_str(), 0755);
}
