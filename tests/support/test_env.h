// A private home for one test: a temporary folder with the XDG folders, TMPDIR and
// HOME pointed into it, so settings, data and temporary files never touch the
// user's own. Restores the environment and removes the folder when destroyed.
#pragma once

#include <map>
#include <optional>
#include <string>

class ScopedTestHome {
 public:
  ScopedTestHome();
  ~ScopedTestHome();
  ScopedTestHome(const ScopedTestHome&) = delete;
  ScopedTestHome& operator=(const ScopedTestHome&) = delete;

  const std::string& path() const { return path_; }
  std::string config_home() const { return path_ + "/config"; }   // XDG_CONFIG_HOME
  std::string config_dir() const { return path_ + "/etc-xdg"; }   // XDG_CONFIG_DIRS
  std::string data_home() const { return path_ + "/data"; }       // XDG_DATA_HOME
  std::string temp_dir() const { return path_ + "/tmp"; }         // TMPDIR

  // Sets an environment variable until the home is destroyed (null unsets it).
  void SetEnv(const std::string& name, const char* value);

 private:
  std::string path_;
  std::map<std::string, std::optional<std::string>> saved_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes a whole file, replacing it; false on failure.
bool WriteWholeFile(const std::string& path, const std::string& contents);
