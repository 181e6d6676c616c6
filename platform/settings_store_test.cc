#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/test_env.h"

namespace fs = std::filesystem;
constexpr long kOk = 0;

const char kRuntime[] = "Software\\Morvend\\app\\Runtime";

// The code of the store's answer to setting `name`, with its message in `*error`.
static long Set(const SettingsStore& store, const char* name, RegValue value,
                std::string* error = nullptr) {
  Status status = store.Update([&](RegTree& tree) {
    tree[kRuntime][name] = value;
    return true;
  });
  if (error != nullptr) *error = status.message();
  return status.code();
}

static unsigned ModeOf(const std::string& path) { return unsigned(fs::status(path).permissions()); }

TEST(SettingsStoreTest, WritesTypedValuesAndKeepsDamagedFilesAside) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  ASSERT_EQ(Set(store, "RunCount", RegValue::Dword(0x1234)), kOk);
  ASSERT_EQ(Set(store, "GUID", RegValue::String("3")), kOk);
  const std::string good = ReadWholeFile(store.path());
  EXPECT_EQ(good,
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\app\\Runtime]\n"
            "\"GUID\"=\"3\"\n\"RunCount\"=dword:00001234\n");
  EXPECT_EQ(std::make_pair(ModeOf(store.path()), ModeOf(fs::path(store.path()).parent_path())),
            std::make_pair(0600u, 0700u));
  // A file cut inside the number, or emptied, is moved aside when read or updated.
  const std::string truncated = good.substr(0, good.size() - 4);
  const std::tuple<std::string, bool, const char*> cases[] = {
      {truncated, true, ".bad"}, {"", true, ".bad.1"}, {truncated, false, ".bad.2"}};
  for (const auto& [damaged, read_first, aside] : cases) {
    ASSERT_TRUE(WriteWholeFile(store.path(), damaged));
    EXPECT_TRUE(!read_first || (store.Load().empty() && !fs::exists(store.path()))) << aside;
    ASSERT_EQ(Set(store, "Other", RegValue::Dword(7)), kOk);
    EXPECT_EQ(store.Load()[kRuntime], (RegValues{{"Other", RegValue::Dword(7)}})) << aside;
    EXPECT_EQ(ReadWholeFile(store.path() + aside), damaged);
  }
}

// Something else at the file's place is told once and neither waited on nor replaced.
TEST(SettingsStoreTest, AFolderOrFifoInTheFilesPlaceIsToldOnce) {
  for (const fs::file_type type : {fs::file_type::directory, fs::file_type::fifo}) {
    SCOPED_TRACE(int(type));
    ScopedTestHome home;
    SettingsStore store(RegistryRoot::kCurrentUser);
    fs::create_directories(fs::path(store.path()).parent_path());
    const char* path = store.path().c_str();
    ASSERT_EQ(0, type == fs::file_type::fifo ? mkfifo(path, 0600) : mkdir(path, 0700));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(store.Load().empty());
    EXPECT_NE(Set(store, "RunCount", RegValue::Dword(1)), kOk);
    const std::string told = " is not a file; settings cannot be read or saved\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Settings file " + store.path() + told);
    EXPECT_EQ(fs::status(store.path()).type(), type);
  }
}

TEST(SettingsStoreTest, ModeBitsMakeAStoreReadOnlyEvenForRoot) {
  ScopedTestHome home;
  SettingsStore machine(RegistryRoot::kLocalMachine);
  ASSERT_EQ(Set(machine, "DisableUpdateCheck", RegValue::Dword(1)), kOk);
  const std::string folder = fs::path(machine.path()).parent_path();
  // The path made read-only, its mode, and the file's contents (empty: its folder removed).
  const std::tuple<std::string, mode_t, std::string> cases[] = {{folder, 0555, "damaged"},
                                                                {home.config_dir(), 0555, ""}};
  for (const auto& [path, mode, contents] : cases) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(contents.empty() ? fs::remove_all(folder) > 0
                                 : WriteWholeFile(machine.path(), contents));
    const unsigned old_mode = ModeOf(path);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    EXPECT_FALSE(machine.IsWritable());
    std::string error;
    EXPECT_EQ(Set(machine, "x", RegValue::Dword(1), &error), SettingsStore::kReadOnly);
    EXPECT_NE(error.find("read-only"), std::string::npos);
    machine.Load();  // a damaged file in a read-only folder stays where it is
    EXPECT_EQ(ReadWholeFile(machine.path()), contents);
    EXPECT_FALSE(fs::exists(machine.path() + ".bad"));
    ASSERT_EQ(chmod(path.c_str(), old_mode), 0);
  }
}

// Every value of the file a killed writer leaves carries the same generation.
TEST(SettingsStoreTest, AWriterKilledAtAnyMomentLeavesAWholeFile) {
  ScopedTestHome home;
  SettingsStore store(RegistryRoot::kCurrentUser);
  int whole_files = 0;
  for (int round = 0; round < 200; ++round) {
    pid_t pid = fork();
    for (uint32_t generation = 1; pid == 0; ++generation) {
      store.Update([&](RegTree& tree) {
        for (int i = 0; i < 400; ++i)
          tree["Software"]["v" + std::to_string(i)] = RegValue::Dword(generation);
        return true;
      });
    }
    usleep(round * 7919 % 30000);  // now and then long enough for a few updates
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
