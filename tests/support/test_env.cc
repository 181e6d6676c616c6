#include "tests/support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

ScopedTestHome::ScopedTestHome() {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/zorm-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  for (const std::string& dir : {config_home(), config_dir(), data_home(), temp_dir()})
    std::filesystem::create_directories(dir);
  SetEnv("HOME", path_.c_str());
  SetEnv("XDG_CONFIG_HOME", config_home().c_str());
  SetEnv("XDG_CONFIG_DIRS", config_dir().c_str());
  SetEnv("XDG_DATA_HOME", data_home().c_str());
  SetEnv("TMPDIR", temp_dir().c_str());
}

static void PutEnv(const std::string& name, const char* value) {
  if (value != nullptr)
    setenv(name.c_str(), value, 1);
  else
    unsetenv(name.c_str());
}

ScopedTestHome::~ScopedTestHome() {
  for (const auto& [name, value] : saved_) PutEnv(name, value ? value->c_str() : nullptr);
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void ScopedTestHome::SetEnv(const std::string& name, const char* value) {
  const char* old = getenv(name.c_str());
  saved_.try_emplace(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
  PutEnv(name, value);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

bool WriteWholeFile(const std::string& path, const std::string& contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contents;
  return static_cast<bool>(file);
}
