#include "platform/install_transaction.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/install_directories.h"

namespace {

const char kStagingPrefix[] = ".morvend-install-";

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Status SystemError(const std::string& what, const std::string& path) {
  return Status::Error(what + " " + path + ": " + std::strerror(errno));
}

// Copies `from` to a temporary name beside `destination`, flushes it, and renames
// it into place, so a reader never sees half a file.
Status CopyInto(const std::string& from, const std::string& destination) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return SystemError("cannot read", from);
  std::string temp = destination + ".partial-XXXXXX";
  int out = mkstemp(temp.data());
  if (out < 0) {
    Status failed = SystemError("cannot create", temp);
    close(in);
    return failed;
  }
  Status status;
  char buffer[65536];
  while (status.ok()) {
    ssize_t got = read(in, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      status = SystemError("cannot read", from);
    } else if (!WriteAll(out, buffer, static_cast<size_t>(got))) {
      status = SystemError("cannot write", temp);
    }
  }
  struct stat st;
  if (status.ok() && fstat(in, &st) == 0) fchmod(out, st.st_mode & 07777);
  if (status.ok() && fsync(out) != 0) status = SystemError("cannot write", temp);
  close(in);
  if (close(out) != 0 && status.ok()) status = SystemError("cannot write", temp);
  if (status.ok() && rename(temp.c_str(), destination.c_str()) != 0)
    status = SystemError("cannot create", destination);
  if (!status.ok()) {
    unlink(temp.c_str());
    return status;
  }
  unlink(from.c_str());
  return status;
}

}  // namespace

Status MoveFileInto(const std::string& from, const std::string& destination) {
  if (rename(from.c_str(), destination.c_str()) == 0) return Status::Ok();
  if (errno != EXDEV) return SystemError("cannot move a file to", destination);
  return CopyInto(from, destination);
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

InstallTransaction::~InstallTransaction() {
  if (!m_done) Rollback();
}

std::string OwnedTemporaryName(const std::string& folder, const std::string& prefix, pid_t owner) {
  return (folder == "/" ? "" : folder) + "/" + prefix + std::to_string(owner) + "-XXXXXX";
}

void RemoveAbandoned(const std::string& folder, const std::string& prefix) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> abandoned;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.rfind(prefix, 0) != 0) continue;
    char* end = nullptr;
    long owner = strtol(name.c_str() + prefix.size(), &end, 10);
    if (owner <= 0 || *end != '-') continue;
    if (kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH)
      abandoned.push_back((folder == "/" ? "" : folder) + "/" + name);
  }
  closedir(dir);
  for (const std::string& path : abandoned) RemoveTree(path);
}

Status CreateStagingFolder(const std::string& install_folder, pid_t owner, std::string* staging) {
  std::string base = install_folder;
  while (!IsDirectory(base) && base != "/" && base != ".") base = ParentFolder(base);
  RemoveAbandoned(base, kStagingPrefix);
  std::string path = OwnedTemporaryName(base, kStagingPrefix, owner);
  if (mkdtemp(path.data()) == nullptr)
    return SystemError("cannot create a staging folder in", base);
  *staging = path;
  return Status::Ok();
}

bool IsStagingFolderName(const std::string& name) { return name.rfind(kStagingPrefix, 0) == 0; }

// Creates `folder` and its missing ancestors top-down, remembering them for a
// rollback.
Status InstallTransaction::CreateFolders(const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string at = folder; !IsDirectory(at); at = ParentFolder(at)) {
    if (at == "/" || at == ".") break;
    missing.push_back(at);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (mkdir(it->c_str(), 0755) != 0) return SystemError("cannot create the folder", *it);
    m_created_folders.push_back(*it);
  }
  return Status::Ok();
}

// Opens `folder`, which lies within `root`, one component at a time below
// `root` without following a symbolic link, creating what is missing.
Status InstallTransaction::OpenFolderBelow(const std::string& root, const std::string& folder,
                                           int* fd) {
  if (Status made = CreateFolders(root); !made.ok()) return made;
  int at = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (at < 0) return SystemError("cannot open the folder", root);
  std::string path = root == "/" ? "" : root;
  for (size_t begin = path.size() + 1; begin <= folder.size();) {
    size_t end = std::min(folder.find('/', begin), folder.size());
    const std::string name = folder.substr(begin, end - begin);
    begin = end + 1;
    if (name.empty()) continue;
    path += "/" + name;
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int next = openat(at, name.c_str(), flags);
    if (next < 0 && errno == ENOENT) {
      if (mkdirat(at, name.c_str(), 0755) != 0) {
        Status failed = SystemError("cannot create the folder", path);
        close(at);
        return failed;
      }
      m_created_folders.push_back(path);
      next = openat(at, name.c_str(), flags);
    }
    if (next < 0) {
      struct stat st;
      Status failed = fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)
                          ? Status::Error(path + " leads out of " + root + " through a symbolic link")
                          : SystemError("cannot open the folder", path);
      close(at);
      return failed;
    }
    close(at);
    at = next;
  }
  *fd = at;
  return Status::Ok();
}

Status InstallTransaction::MoveIntoPlace(const std::string& staged,
                                         const std::string& destination,
                                         const std::string& root) {
  const std::string folder = ParentFolder(destination);
  if (!IsWithinFolder(folder, root))
    return Status::Error(destination + " lies outside the installation folder " + root);
  int folder_fd = -1;
  if (Status opened = OpenFolderBelow(root, folder, &folder_fd); !opened.ok()) return opened;
  // The moves go through the opened folder itself, so nothing swapped in on the
  // way to it since can redirect them; messages still name the real path.
  const std::string name = destination.substr(destination.rfind('/') + 1);
  const std::string via = "/proc/self/fd/" + std::to_string(folder_fd) + "/" + name;
  auto named = [&](Status status) {
    std::string text = status.message();
    for (size_t at; (at = text.find(via)) != std::string::npos;)
      text.replace(at, via.size(), destination);
    return status.ok() ? status : Status::Error(text, status.code());
  };
  struct stat st;
  Status result;
  if (fstatat(folder_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      result = SystemError("cannot replace", destination);
    } else {
      std::string kept = m_staging + "/replaced-" + std::to_string(++m_kept_count);
      result = named(MoveFileInto(via, kept));
      if (result.ok()) m_replaced.emplace_back(destination, kept);
    }
  }
  if (result.ok()) result = named(MoveFileInto(staged, via));
  if (result.ok()) m_moved.push_back(destination);
  close(folder_fd);
  return result;
}

void InstallTransaction::Commit() {
  m_done = true;
  RemoveStaging();
}

void InstallTransaction::Rollback() {
  m_done = true;
  for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it) unlink(it->c_str());
  for (auto it = m_replaced.rbegin(); it != m_replaced.rend(); ++it)
    MoveFileInto(it->second, it->first);  // best effort: nothing better is left to try
  for (auto it = m_created_folders.rbegin(); it != m_created_folders.rend(); ++it)
    rmdir(it->c_str());
  m_moved.clear();
  m_replaced.clear();
  m_created_folders.clear();
  RemoveStaging();
}

void InstallTransaction::RemoveStaging() {
  if (!m_staging.empty()) RemoveTree(m_staging);
  m_staging.clear();
}
