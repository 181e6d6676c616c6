#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "tests/support/test_env.h"

namespace {

// Closes a handle at the end of a test scope.
struct KeyCloser {
  RegistryKeyHandle key = nullptr;
  ~KeyCloser() {
    if (key != nullptr) RegistryCloseKey(key);
  }
};

TEST(RegistryTest, CreatedKeysAndValuesReachTheFile) {
  ScopedTestHome home;
  KeyCloser key;
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\Morvend\\Test", kKeyAllAccess, &key.key),
            kRegistrySuccess);
  const std::string path = SettingsStore(RegistryRoot::kCurrentUser).path();
  EXPECT_EQ(ReadWholeFile(path),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Morvend\\Test]\n");
  ASSERT_EQ(RegistrySetValue(key.key, "Count", RegValue::Dword(42)), kRegistrySuccess);
  ASSERT_EQ(RegistrySetValue(key.key, "Name", RegValue::String("abc")), kRegistrySuccess);
  EXPECT_EQ(ReadWholeFile(path),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Morvend\\Test]\n"
            "\"Count\"=dword:0000002a\n\"Name\"=\"abc\"\n");

  // A second handle opened on the same key, with other spelling, sees the values.
  KeyCloser again;
  ASSERT_EQ(RegistryOpenKey(kHKeyCurrentUser, "software\\MORVEND", kKeyRead, &again.key),
            kRegistrySuccess);
  KeyCloser below;
  ASSERT_EQ(RegistryOpenKey(again.key, "test", kKeyRead, &below.key), kRegistrySuccess);
  RegValue value;
  ASSERT_EQ(RegistryGetValue(below.key, "count", &value), kRegistrySuccess);
  EXPECT_EQ(value, RegValue::Dword(42));
}

TEST(RegistryTest, QueryValueReportsTypeSizeAndData) {
  ScopedTestHome home;
  KeyCloser key;
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyAllAccess, &key.key),
            kRegistrySuccess);
  RegistrySetValue(key.key, "text", RegValue::String("hello"));
  RegistrySetValue(key.key, "number", RegValue::Dword(0x01020304));
  ASSERT_TRUE(WriteWholeFile(SettingsStore(RegistryRoot::kCurrentUser).path(),
                             ReadWholeFile(SettingsStore(RegistryRoot::kCurrentUser).path()) +
                                 "\"blob\"=hex:01,02\n"));
  struct Case {
    const char* name;
    uint32_t room;
    long code;
    uint32_t type;
    uint32_t size;
    std::string data;
  };
  const Case cases[] = {
      {"text", 64, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"TEXT", 6, kRegistrySuccess, kRegSz, 6, std::string("hello", 6)},
      {"text", 5, kRegistryMoreData, kRegSz, 6, ""},
      {"number", 4, kRegistrySuccess, kRegDword, 4, std::string("\x04\x03\x02\x01", 4)},
      {"number", 3, kRegistryMoreData, kRegDword, 4, ""},
      {"blob", 64, kRegistrySuccess, kRegNone, 9, "hex:01,02"},
      {"missing", 64, kRegistryFileNotFound, 99, 64, ""},
  };
  for (const Case& c : cases) {
    char data[64] = {};
    uint32_t type = 99;
    uint32_t size = c.room;
    EXPECT_EQ(RegistryQueryValue(key.key, c.name, &type, data, &size), c.code) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.size) << c.name;
    if (c.code == kRegistrySuccess) {
      EXPECT_EQ(std::string(data, size), c.data) << c.name;
    }
  }
  uint32_t size = 0;
  EXPECT_EQ(RegistryQueryValue(key.key, "text", nullptr, nullptr, &size), kRegistrySuccess);
  EXPECT_EQ(size, 6u);
}

TEST(RegistryTest, HandlesDoOnlyWhatTheirRightsAllow) {
  ScopedTestHome home;
  KeyCloser writer, reader, write_only;
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyAllAccess, &writer.key), 0);
  ASSERT_EQ(RegistrySetValue(writer.key, "v", RegValue::Dword(1)), kRegistrySuccess);
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyRead, &reader.key), 0);
  ASSERT_EQ(RegistryCreateKey(kHKeyCurrentUser, "Software\\T", kKeyWrite, &write_only.key), 0);
  RegValue value;
  EXPECT_EQ(RegistrySetValue(reader.key, "v", RegValue::Dword(2)), kRegistryAccessDenied);
  EXPECT_EQ(RegistryDeleteValue(reader.key, "v"), kRegistryAccessDenied);
  EXPECT_EQ(RegistryGetValue(write_only.key, "v", &value), kRegistryAccessDenied);
  EXPECT_EQ(RegistryGetValue(reader.key, "v", &value), kRegistrySuccess);
  EXPECT_EQ(value, RegValue::Dword(1));
  EXPECT_EQ(RegistryGetValue(nullptr, "v", &value), kRegistryInvalidHandle);
  EXPECT_EQ(RegistryCloseKey(nullptr), kRegistryInvalidHandle);
  EXPECT_EQ(RegistryCloseKey(kHKeyLocalMachine), kRegistrySuccess);  // roots stay open

  EXPECT_EQ(RegistryDeleteValue(writer.key, "v"), kRegistrySuccess);
  EXPECT_EQ(RegistryDeleteValue(writer.key, "v"), kRegistryFileNotFound);
  EXPECT_EQ(RegistryDeleteKeyTree(kHKeyCurrentUser, "Software"), kRegistrySuccess);
  EXPECT_EQ(RegistryGetValue(reader.key, "v", &value), kRegistryFileNotFound);
  EXPECT_EQ(RegistryDeleteKeyTree(kHKeyCurrentUser, "Software"), kRegistryFileNotFound);
  EXPECT_EQ(RegistryDeleteKeyTree(kHKeyCurrentUser, ""), kRegistryAccessDenied);
  KeyCloser missing;
  EXPECT_EQ(RegistryOpenKey(kHKeyCurrentUser, "Software\\T", kKeyRead, &missing.key),
            kRegistryFileNotFound);
  EXPECT_EQ(missing.key, nullptr);
}

// A machine-wide store its folder's mode makes read-only: existing keys open for
// reading, anything that would change the store is denied, also to root.
TEST(RegistryTest, AReadOnlyMachineStoreDeniesCreatingAndChanging) {
  ScopedTestHome home;
  KeyCloser setup;
  ASSERT_EQ(RegistryCreateKey(kHKeyLocalMachine, "SOFTWARE\\Morvend", kKeyAllAccess, &setup.key), 0);
  ASSERT_EQ(RegistrySetValue(setup.key, "DisableUpdateCheck", RegValue::Dword(1)), 0);
  const std::string folder = home.config_dir() + "/Morvend";
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  struct Case {
    const char* key;
    uint32_t access;
    long code;
  };
  const Case cases[] = {
      {"SOFTWARE\\Morvend", kKeyRead, kRegistrySuccess},
      {"Software\\morvend", kKeyQueryValue, kRegistrySuccess},
      {"SOFTWARE\\Morvend", kKeyAllAccess, kRegistryAccessDenied},
      {"SOFTWARE\\Morvend", kKeyWrite, kRegistryAccessDenied},
      {"SOFTWARE\\Morvend", kKeyRead | kKeySetValue, kRegistryAccessDenied},
      {"SOFTWARE\\Other", kKeyRead, kRegistryAccessDenied},
  };
  for (const Case& c : cases) {
    KeyCloser key;
    EXPECT_EQ(RegistryCreateKey(kHKeyLocalMachine, c.key, c.access, &key.key), c.code) << c.key;
    EXPECT_EQ(key.key == nullptr, c.code != kRegistrySuccess) << c.key;
  }
  EXPECT_EQ(RegistrySetValue(setup.key, "DisableUpdateCheck", RegValue::Dword(0)),
            kRegistryAccessDenied);
  RegValue value;
  EXPECT_EQ(RegistryGetValue(setup.key, "DisableUpdateCheck", &value), kRegistrySuccess);
  EXPECT_EQ(value, RegValue::Dword(1));
  chmod(folder.c_str(), 0755);
}

}  // namespace
