#include "platform/install_transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/install_directories.h"

namespace {

const char kStagingPrefix[] = ".morvend-install-";

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Copies `from` to a temporary name beside `destination`, flushes it, and renames
// it into place, so a reader never sees half a file.
bool CopyInto(const std::string& from, const std::string& destination, std::string* error) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    *error = SystemError("cannot read", from);
    return false;
  }
  std::string temp = destination + ".partial-XXXXXX";
  int out = mkstemp(temp.data());
  if (out < 0) {
    *error = SystemError("cannot create", temp);
    close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  while (ok) {
    ssize_t got = read(in, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      *error = SystemError("cannot read", from);
      ok = false;
      break;
    }
    for (ssize_t written = 0; written < got && ok;) {
      ssize_t put = write(out, buffer + written, got - written);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) {
        *error = SystemError("cannot write", temp);
        ok = false;
      } else {
        written += put;
      }
    }
  }
  struct stat st;
  if (ok && fstat(in, &st) == 0) fchmod(out, st.st_mode & 07777);
  if (ok && fsync(out) != 0) {
    *error = SystemError("cannot write", temp);
    ok = false;
  }
  close(in);
  if (close(out) != 0 && ok) {
    *error = SystemError("cannot write", temp);
    ok = false;
  }
  if (ok && rename(temp.c_str(), destination.c_str()) != 0) {
    *error = SystemError("cannot create", destination);
    ok = false;
  }
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  unlink(from.c_str());
  return true;
}

}  // namespace

bool MoveFileInto(const std::string& from, const std::string& destination, std::string* error) {
  if (rename(from.c_str(), destination.c_str()) == 0) return true;
  if (errno != EXDEV) {
    *error = SystemError("cannot move a file to", destination);
    return false;
  }
  return CopyInto(from, destination, error);
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

InstallTransaction::~InstallTransaction() {
  if (!m_done) Rollback();
}

bool CreateStagingFolder(const std::string& install_folder, std::string* staging,
                         std::string* error) {
  std::string base = install_folder;
  while (!IsDirectory(base) && base != "/" && base != ".") base = ParentFolder(base);
  std::string path = (base == "/" ? "" : base) + "/" + kStagingPrefix + "XXXXXX";
  if (mkdtemp(path.data()) == nullptr) {
    *error = SystemError("cannot create a staging folder in", base);
    return false;
  }
  *staging = path;
  return true;
}

bool IsStagingFolderName(const std::string& name) { return name.rfind(kStagingPrefix, 0) == 0; }

bool InstallTransaction::MoveIntoPlace(const std::string& staged, const std::string& destination,
                                       std::string* error) {
  // Create the missing folders top-down and remember them for a rollback.
  std::vector<std::string> missing;
  for (std::string folder = ParentFolder(destination); !IsDirectory(folder);
       folder = ParentFolder(folder)) {
    if (folder == "/" || folder == ".") break;
    missing.push_back(folder);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (mkdir(it->c_str(), 0755) != 0) {
      *error = SystemError("cannot create the folder", *it);
      return false;
    }
    m_created_folders.push_back(*it);
  }

  if (Exists(destination)) {
    if (IsDirectory(destination)) {
      errno = EISDIR;
      *error = SystemError("cannot replace", destination);
      return false;
    }
    std::string kept = m_staging + "/replaced-" + std::to_string(++m_kept_count);
    if (!MoveFileInto(destination, kept, error)) return false;
    m_replaced.emplace_back(destination, kept);
  }
  if (!MoveFileInto(staged, destination, error)) return false;
  m_moved.push_back(destination);
  return true;
}

void InstallTransaction::Commit() {
  m_done = true;
  RemoveStaging();
}

void InstallTransaction::Rollback() {
  m_done = true;
  for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it) unlink(it->c_str());
  std::string ignored;
  for (auto it = m_replaced.rbegin(); it != m_replaced.rend(); ++it)
    MoveFileInto(it->second, it->first, &ignored);
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
