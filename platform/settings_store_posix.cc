#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/settings_store.h"

#include "platform/file_io.h"

namespace {

std::string Getenv(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = Getenv("HOME");
  if (!home.empty()) return home;
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
    return found->pw_dir;
  return "/";
}

// Folders in XDG variables must be absolute; anything else is ignored.
std::string UserConfigFolder() {
  std::string folder = Getenv("XDG_CONFIG_HOME");
  if (!folder.empty() && folder[0] == '/') return folder;
  return HomeFolder() + "/.config";
}

std::string MachineConfigFolder() {
  std::string dirs = Getenv("XDG_CONFIG_DIRS");
  size_t start = 0;
  while (start < dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    if (end > start && dirs[start] == '/') return dirs.substr(start, end - start);
    start = end + 1;
  }
  return "/etc/xdg";
}

// An I/O error of the store: what failed on `path`, with the system's reason.
Status SystemError(const std::string& what, const std::string& path) {
  return Status::Error(what + " " + path + ": " + strerror(errno), SettingsStore::kIoError);
}

bool InGroup(gid_t group) {
  if (group == getegid()) return true;
  int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  count = getgroups(count, groups.data());
  for (int i = 0; i < count; ++i)
    if (groups[static_cast<size_t>(i)] == group) return true;
  return false;
}

// Write permission as the mode bits grant it to this process's user, with no
// exception for root, and as the system grants it (read-only mounts, ACLs).
bool MayWrite(const std::string& path, const struct stat& info) {
  mode_t bit = info.st_uid == geteuid() ? S_IWUSR : InGroup(info.st_gid) ? S_IWGRP : S_IWOTH;
  return (info.st_mode & bit) != 0 && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// A settings path taken by a folder, a FIFO or a device is told once per
// process, not at every read, and never waited on.
void TellNotAFile(const std::string& path) {
  static std::mutex mutex;
  static std::set<std::string> told;
  std::lock_guard<std::mutex> lock(mutex);
  if (told.insert(path).second)
    fprintf(stderr, "Settings file %s is not a file; settings cannot be read or saved\n",
            path.c_str());
}

// Reads the whole file: 0, ENOENT when it is missing, or another errno.
int ReadFile(const std::string& path, std::string* text) {
  text->clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    TellNotAFile(path);
    return EINVAL;
  }
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      close(fd);
      return error;
    }
    if (n == 0) break;
    text->append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return 0;
}

bool MakeFolders(const std::string& folder, mode_t mode) {
  if (folder.empty() || folder == "/") return true;
  struct stat info;
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (!MakeFolders(ParentFolder(folder), mode)) return false;
  return mkdir(folder.c_str(), mode) == 0 || errno == EEXIST;
}

// Writes `text` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`. Runs under the store's lock, so one temporary name does;
// one left behind by a killed writer is overwritten by the next.
Status ReplaceFile(const std::string& path, const std::string& text, mode_t new_mode) {
  struct stat info;
  mode_t mode = stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : new_mode;
  std::string temporary = path + ".tmp";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return SystemError("cannot create", temporary);
  Status status;
  if (!(fchmod(fd, mode) == 0 && WriteAll(fd, text) && fsync(fd) == 0))
    status = SystemError("cannot write", temporary);
  if (close(fd) != 0 && status.ok()) status = SystemError("cannot write", temporary);
  if (status.ok() && rename(temporary.c_str(), path.c_str()) != 0)
    status = SystemError("cannot replace", path);
  if (!status.ok()) {
    unlink(temporary.c_str());
    return status;
  }
  // The rename itself reaches the disk with the folder.
  int folder = open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return Status::Ok();
}

// Holds the store's lock between processes while it lives.
class FileLock {
 public:
  explicit FileLock(const std::string& path, mode_t mode) {
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
    if (m_fd < 0) return;
    while (flock(m_fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(m_fd);
        m_fd = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (m_fd >= 0) close(m_fd);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

// Moves a damaged file out of the way, never over an earlier one.
void KeepDamagedFile(const std::string& path, const std::string& reason) {
  std::string aside = path + ".bad";
  struct stat info;
  for (int n = 1; n < 1000 && lstat(aside.c_str(), &info) == 0; ++n)
    aside = path + ".bad." + std::to_string(n);
  if (rename(path.c_str(), aside.c_str()) == 0)
    fprintf(stderr, "Settings file %s could not be read (%s); it was kept as %s\n", path.c_str(),
            reason.c_str(), aside.c_str());
  else
    fprintf(stderr, "Settings file %s could not be read (%s)\n", path.c_str(), reason.c_str());
}

}  // namespace

const char* RegistryRootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

SettingsStore::SettingsStore(RegistryRoot root) : m_root(root) {
  std::string folder =
      root == RegistryRoot::kCurrentUser ? UserConfigFolder() : MachineConfigFolder();
  m_path = folder + "/Morvend/registry.reg";
}

namespace {

// A user's settings stay private; machine-wide ones are readable by everyone.
mode_t FileMode(RegistryRoot root) { return root == RegistryRoot::kCurrentUser ? 0600 : 0644; }
mode_t FolderMode(RegistryRoot root) { return root == RegistryRoot::kCurrentUser ? 0700 : 0755; }

// Reads and parses the file into `tree`: empty when the file is missing or
// damaged (a damaged one is moved aside when `may_move`). False, with the reason,
// only when an existing file cannot be read, so that nothing overwrites it.
Status ReadTree(const std::string& path, RegistryRoot root, bool may_move, RegTree* tree) {
  tree->clear();
  std::string text;
  int read_error = ReadFile(path, &text);
  if (read_error == ENOENT) return Status::Ok();
  if (read_error != 0) {
    errno = read_error;
    return SystemError("cannot read", path);
  }
  Status parsed = ParseRegFile(text, RegistryRootName(root), tree);
  if (parsed.ok()) return parsed;
  tree->clear();
  if (may_move) KeepDamagedFile(path, parsed.message());
  return Status::Ok();
}

}  // namespace

bool SettingsStore::IsWritable() const {
  struct stat info;
  if (stat(m_path.c_str(), &info) == 0 && !MayWrite(m_path, info)) return false;
  std::string folder = ParentFolder(m_path);
  while (stat(folder.c_str(), &info) != 0) {
    if (errno != ENOENT || folder == "/") return false;
    folder = ParentFolder(folder);
  }
  return S_ISDIR(info.st_mode) && MayWrite(folder, info);
}

RegTree SettingsStore::Load() const {
  std::string text;
  RegTree tree;
  if (ReadFile(m_path, &text) != 0) return tree;
  if (ParseRegFile(text, RegistryRootName(m_root), &tree).ok()) return tree;
  // Look again under the lock: a writer may have just replaced the file, and only
  // one process may move it aside.
  if (!IsWritable()) return {};
  FileLock lock(m_path + ".lock", FileMode(m_root));
  ReadTree(m_path, m_root, lock.held(), &tree);  // unreadable reads as empty here
  return tree;
}

Status SettingsStore::Update(const std::function<bool(RegTree&)>& change) const {
  if (!IsWritable())
    return Status::Error("the settings store " + m_path + " is read-only", kReadOnly);
  if (!MakeFolders(ParentFolder(m_path), FolderMode(m_root)))
    return SystemError("cannot create the folder of", m_path);
  FileLock lock(m_path + ".lock", FileMode(m_root));
  if (!lock.held()) return SystemError("cannot lock", m_path + ".lock");
  RegTree tree;
  if (Status read = ReadTree(m_path, m_root, true, &tree); !read.ok()) return read;
  if (!change(tree)) return Status::Ok();
  return ReplaceFile(m_path, FormatRegFile(tree, RegistryRootName(m_root)), FileMode(m_root));
}
