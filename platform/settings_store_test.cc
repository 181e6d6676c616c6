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

const char kRuntime[] = "Software\\Morvend\\app\\Runtime";

SettingsStore::Result SetDword(const SettingsStore& store, const char* name, uint32_t number) {
  return store.Update([&](RegTree& tree) {
    tree[kRuntime][name] = RegValue::Dword(number);
    return true;
  });
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(SettingsStoreTest, FilesLieWhereTheXdgVariablesSay) {
  ScopedTestHome home;
  EXPECT_EQ(SettingsStore(RegistryRoot::kCurrentUser).path(),
            home.config_home() + "/Morvend/registry.reg");
  EXPECT_EQ(SettingsStore(RegistryRoot::kLocalMachine).path(),
            home.config_dir() + "/Morvend/registry.reg");
  home.SetEnv("XDG_CONFIG_DIRS", ("relative:" + home.path() + "/a:" + home.path() + "/b").c_str());
  EXPECT_EQ(SettingsStore(RegistryRoot::kLocalMachine).path(),
            home.path() + "/a/Morvend/registry.reg");
  home.SetEnv("XDG_CONFIG_HOME", "relative");
  home.SetEnv("XDG_CONFIG_DIRS", nullptr);
  EXPECT_EQ(SettingsStore(RegistryRoot::kCurrentUser).path(),
            home.path() + "/.config/Morvend/registry.reg");
  EXPECT_EQ(SettingsStore(RegistryRoot::kLocalMachine).path(), "/etc/xdg/Morvend/registry.reg");
}

TEST(SettingsStoreTest, UpdateWritesTheFileOthersRead) {
  ScopedTestHome home;
  SettingsStore user(RegistryRoot::kCurrentUser);
  EXPECT_TRUE(user.Load().empty());
  ASSERT_EQ(SetDword(user, "RunCount", 3), SettingsStore::Result::kOk);
  ASSERT_EQ(user.Update([](RegTree& tree) {
    tree[kRuntime]["GUID"] = RegValue::String("X");
    return true;
  }), SettingsStore::Result::kOk);
  EXPECT_EQ(ReadWholeFile(user.path()),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\app\\Runtime]\n"
            "\"GUID\"=\"X\"\n"
            "\"RunCount\"=dword:00000003\n");
  EXPECT_EQ(ModeOf(user.path()), 0600u);
  EXPECT_EQ(ModeOf(fs::path(user.path()).parent_path()), 0700u);
  EXPECT_EQ(SettingsStore(RegistryRoot::kCurrentUser).Load()[kRuntime]["RunCount"],
            RegValue::Dword(3));

  // A change that declines writes nothing, and the machine store is a file apart.
  std::string before = ReadWholeFile(user.path());
  EXPECT_EQ(user.Update([](RegTree& tree) {
    tree.clear();
    return false;
  }), SettingsStore::Result::kOk);
  EXPECT_EQ(ReadWholeFile(user.path()), before);
  SettingsStore machine(RegistryRoot::kLocalMachine);
  EXPECT_TRUE(machine.Load().empty());
  ASSERT_EQ(SetDword(machine, "DisableUpdateCheck", 1), SettingsStore::Result::kOk);
  EXPECT_NE(ReadWholeFile(machine.path()).find("[HKEY_LOCAL_MACHINE\\Software"), std::string::npos);
  EXPECT_EQ(ModeOf(machine.path()), 0644u);
}

TEST(SettingsStoreTest, DamagedFilesAreKeptAsideAndReadEmpty) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  ASSERT_EQ(SetDword(store, "RunCount", 0x1234), SettingsStore::Result::kOk);
  const std::string good = ReadWholeFile(store.path());
  const std::string truncated = good.substr(0, good.size() - 4);  // inside the number
  const std::string damaged[] = {truncated, "\x01\x02garbage", ""};
  const char* const aside[] = {".bad", ".bad.1", ".bad.2"};
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(WriteWholeFile(store.path(), damaged[i]));
    EXPECT_TRUE(store.Load().empty()) << i;
    EXPECT_FALSE(fs::exists(store.path())) << i;
    EXPECT_EQ(ReadWholeFile(store.path() + aside[i]), damaged[i]) << i;
    ASSERT_EQ(SetDword(store, "RunCount", 7), SettingsStore::Result::kOk);
    EXPECT_EQ(store.Load()[kRuntime]["RunCount"], RegValue::Dword(7));
  }
  // Found by a writer first: the change starts from empty and the file is kept.
  ASSERT_TRUE(WriteWholeFile(store.path(), truncated));
  ASSERT_EQ(SetDword(store, "Other", 1), SettingsStore::Result::kOk);
  EXPECT_EQ(store.Load()[kRuntime].size(), 1u);
  EXPECT_EQ(ReadWholeFile(store.path() + ".bad.3"), truncated);
}

TEST(SettingsStoreTest, ModeBitsMakeAStoreReadOnlyEvenForRoot) {
  ScopedTestHome home;
  SettingsStore machine(RegistryRoot::kLocalMachine);
  ASSERT_EQ(SetDword(machine, "DisableUpdateCheck", 1), SettingsStore::Result::kOk);
  const std::string folder = fs::path(machine.path()).parent_path();
  const std::string before = ReadWholeFile(machine.path());

  struct Case {
    const char* what;
    std::string path;
    mode_t mode;
  };
  const Case cases[] = {
      {"folder without write bits", folder, 0555},
      {"file without write bits", machine.path(), 0444},
      {"missing folder below a read-only one", home.config_dir(), 0555},
  };
  for (const Case& c : cases) {
    mode_t old_mode = ModeOf(c.path);
    if (c.path == home.config_dir()) fs::remove_all(folder);
    ASSERT_EQ(chmod(c.path.c_str(), c.mode), 0);
    EXPECT_FALSE(machine.IsWritable()) << c.what;
    std::string error;
    EXPECT_EQ(machine.Update([](RegTree& tree) {
      tree["Software"]["x"] = RegValue::Dword(1);
      return true;
    }, &error), SettingsStore::Result::kReadOnly) << c.what;
    EXPECT_NE(error.find("read-only"), std::string::npos) << c.what;
    ASSERT_EQ(chmod(c.path.c_str(), old_mode), 0);
    EXPECT_TRUE(machine.IsWritable()) << c.what;
  }
  EXPECT_FALSE(fs::exists(machine.path()));  // removed by the last case, not recreated

  // A damaged file in a read-only folder reads empty and stays where it is.
  ASSERT_EQ(SetDword(machine, "DisableUpdateCheck", 1), SettingsStore::Result::kOk);
  ASSERT_TRUE(WriteWholeFile(machine.path(), "damaged"));
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  EXPECT_TRUE(machine.Load().empty());
  EXPECT_EQ(ReadWholeFile(machine.path()), "damaged");
  EXPECT_FALSE(fs::exists(machine.path() + ".bad"));
  chmod(folder.c_str(), 0755);
}

TEST(SettingsStoreTest, AFileThatCannotBeReadIsNotOverwritten) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  fs::create_directories(store.path());  // a folder where the file should be
  std::string error;
  EXPECT_EQ(SetDword(store, "RunCount", 1), SettingsStore::Result::kIoError);
  EXPECT_EQ(store.Update([](RegTree&) { return true; }, &error), SettingsStore::Result::kIoError);
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(store.path()));
  EXPECT_TRUE(store.Load().empty());
}

// Adds 1 to RunCount `times` times in a child process; returns its pid.
pid_t StartCounter(int times) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  SettingsStore store(RegistryRoot::kCurrentUser);
  for (int i = 0; i < times; ++i) {
    SettingsStore::Result result = store.Update([](RegTree& tree) {
      RegValue& count = tree[kRuntime]["RunCount"];
      count = RegValue::Dword(count.number + 1);
      return true;
    });
    if (result != SettingsStore::Result::kOk) _exit(1);
  }
  _exit(0);
}

TEST(SettingsStoreTest, TwoProcessesCountingTogetherLoseNoStep) {
  ScopedTestHome home;
  pid_t first = StartCounter(500);
  pid_t second = StartCounter(500);
  for (pid_t pid : {first, second}) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(SettingsStore(RegistryRoot::kCurrentUser).Load()[kRuntime]["RunCount"],
            RegValue::Dword(1000));
}

// A writer killed at any moment leaves the file of one whole update: every value
// carries the same generation, and nothing has been taken for damaged.
TEST(SettingsStoreTest, AWriterKilledAtAnyMomentLeavesAWholeFile) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  std::mt19937 random(12345);
  const int kValues = 400;
  int whole_files = 0;
  for (int round = 0; round < 200; ++round) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (uint32_t generation = 1;; ++generation) {
        store.Update([&](RegTree& tree) {
          tree.clear();
          for (int i = 0; i < kValues; ++i)
            tree["Software\\Generation"]["v" + std::to_string(i)] = RegValue::Dword(generation);
          tree["Software\\Text"]["t"] = RegValue::String(std::string(generation % 5000, 'x'));
          return true;
        });
      }
    }
    // Long enough now and then for a few updates, short enough to cut most.
    usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
    kill(pid, SIGKILL);
    ASSERT_EQ(waitpid(pid, nullptr, 0), pid);

    std::string text = ReadWholeFile(store.path());
    if (text.empty()) continue;  // killed before its first rename
    ++whole_files;
    RegTree tree;
    std::string error;
    ASSERT_TRUE(ParseRegFile(text, "HKEY_CURRENT_USER", &tree, &error)) << round << ": " << error;
    const RegValues& values = tree["Software\\Generation"];
    ASSERT_EQ(values.size(), static_cast<size_t>(kValues)) << round;
    for (const auto& [name, value] : values)
      ASSERT_EQ(value, values.begin()->second) << round << " " << name;
    EXPECT_EQ(tree["Software\\Text"]["t"].text.size(), values.begin()->second.number % 5000);
  }
  EXPECT_FALSE(fs::exists(store.path() + ".bad"));
  EXPECT_GT(whole_files, 150);
}

}  // namespace
