#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using Result = SettingsStore::Result;

const char kRuntime[] = "Software\\Morvend\\app\\Runtime";

Result Set(const SettingsStore& store, const char* name, RegValue value,
           std::string* error = nullptr) {
  return store.Update(
      [&](RegTree& tree) {
        tree[kRuntime][name] = value;
        return true;
      },
      error);
}

unsigned ModeOf(const std::string& path) { return unsigned(fs::status(path).permissions()); }

TEST(SettingsStoreTest, UpdateWritesTypedValuesInTheRegistryEditorsFormat) {
  ScopedTestHome home;
  SettingsStore user(RegistryRoot::kCurrentUser), machine(RegistryRoot::kLocalMachine);
  EXPECT_TRUE(user.Load().empty());
  ASSERT_EQ(Set(user, "RunCount", RegValue::Dword(3)), Result::kOk);
  ASSERT_EQ(Set(user, "GUID", RegValue::String("3")), Result::kOk);
  ASSERT_EQ(Set(machine, "DisableUpdateCheck", RegValue::Dword(1)), Result::kOk);
  EXPECT_EQ(ReadWholeFile(user.path()),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\app\\Runtime]\n"
            "\"GUID\"=\"3\"\n"
            "\"RunCount\"=dword:00000003\n");
  EXPECT_EQ(std::make_tuple(ModeOf(user.path()), ModeOf(fs::path(user.path()).parent_path()),
                            ModeOf(machine.path())),
            std::make_tuple(0600u, 0700u, 0644u));
  EXPECT_EQ(machine.Load()[kRuntime]["DisableUpdateCheck"], RegValue::Dword(1));
  // A change that declines writes nothing.
  EXPECT_EQ(user.Update([](RegTree& tree) { return !tree.erase(kRuntime); }), Result::kOk);
  EXPECT_EQ(user.Load().size(), 1u);
}

TEST(SettingsStoreTest, DamagedFilesAreKeptAsideAndReadEmpty) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  ASSERT_EQ(Set(store, "RunCount", RegValue::Dword(0x1234)), Result::kOk);
  const std::string good = ReadWholeFile(store.path());
  const std::string truncated = good.substr(0, good.size() - 4);  // inside the number
  struct Case {
    std::string damaged;
    bool loaded_first;  // else found by a writer, whose change starts from empty
    const char* aside;
  };
  const Case cases[] = {
      {truncated, true, ".bad"}, {"", true, ".bad.1"}, {truncated, false, ".bad.2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.aside);
    ASSERT_TRUE(WriteWholeFile(store.path(), c.damaged));
    EXPECT_TRUE(!c.loaded_first || (store.Load().empty() && !fs::exists(store.path())));
    ASSERT_EQ(Set(store, "Other", RegValue::Dword(7)), Result::kOk);
    EXPECT_EQ(store.Load()[kRuntime], (RegValues{{"Other", RegValue::Dword(7)}}));
    EXPECT_EQ(ReadWholeFile(store.path() + c.aside), c.damaged);
  }
}

TEST(SettingsStoreTest, ModeBitsMakeAStoreReadOnlyEvenForRoot) {
  ScopedTestHome home;
  SettingsStore machine(RegistryRoot::kLocalMachine);
  ASSERT_EQ(Set(machine, "DisableUpdateCheck", RegValue::Dword(1)), Result::kOk);
  const std::string folder = fs::path(machine.path()).parent_path();
  const std::string good = ReadWholeFile(machine.path());
  struct Case {
    std::string path;
    mode_t mode;
    std::string contents;  // of the file; empty: its folder removed
  };
  const Case cases[] = {
      {folder, 0555, "damaged"}, {machine.path(), 0444, good}, {home.config_dir(), 0555, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.contents.empty()) fs::remove_all(folder);
    if (!c.contents.empty()) ASSERT_TRUE(WriteWholeFile(machine.path(), c.contents));
    const unsigned old_mode = ModeOf(c.path);
    ASSERT_EQ(chmod(c.path.c_str(), c.mode), 0);
    EXPECT_FALSE(machine.IsWritable());
    std::string error;
    EXPECT_EQ(Set(machine, "x", RegValue::Dword(1), &error), Result::kReadOnly);
    EXPECT_NE(error.find("read-only"), std::string::npos);
    machine.Load();  // a damaged file in a read-only folder stays where it is
    EXPECT_EQ(ReadWholeFile(machine.path()), c.contents);
    EXPECT_FALSE(fs::exists(machine.path() + ".bad"));
    ASSERT_EQ(chmod(c.path.c_str(), old_mode), 0);
  }
}

// A writer killed at any moment leaves the file of one whole update: every value
// carries the same generation, and nothing has been taken for damaged.
TEST(SettingsStoreTest, AWriterKilledAtAnyMomentLeavesAWholeFile) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  std::mt19937 random(12345);
  int whole_files = 0;
  for (int round = 0; round < 200; ++round) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    for (uint32_t generation = 1; pid == 0; ++generation) {
      store.Update([&](RegTree& tree) {
        for (int i = 0; i < 400; ++i)
          tree["Software"]["v" + std::to_string(i)] = RegValue::Dword(generation);
        return true;
      });
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
    kill(pid, SIGKILL);
    ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
    RegValues values = store.Load()["Software"];  // a damaged file would be moved aside
    if (values.empty()) continue;                 // killed before its first rename
    ++whole_files;
    ASSERT_EQ(values.size(), 400u) << round;
    for (const auto& [name, value] : values)
      ASSERT_EQ(value, values.begin()->second) << round << name;
  }
  EXPECT_FALSE(fs::exists(store.path() + ".bad"));
  EXPECT_GT(whole_files, 150);
}

}  // namespace
