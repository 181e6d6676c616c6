#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool WriteAll(int fd, const void* data, size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = write(fd, next, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    next += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

std::string TempFolder() {
  const char* tmp = getenv("TMPDIR");
  std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

bool Failed(const std::string& path, std::string* error) {
  if (error != nullptr) *error = "cannot write " + path + ": " + strerror(errno);
  return false;
}

}  // namespace

AtomicFile::~AtomicFile() {
  if (m_fd >= 0) close(m_fd);
  if (!m_direct && !m_write_path.empty()) unlink(m_write_path.c_str());
}

bool AtomicFile::Open(const std::string& path, std::string* error) {
  m_path = path;
  struct stat st;
  m_direct = stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
  if (m_direct) {
    m_fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0) return Failed(path, error);
    m_write_path = path;
    return true;
  }
  std::string temp = path + ".partial-XXXXXX";
  m_fd = mkostemp(temp.data(), O_CLOEXEC);
  if (m_fd < 0) return Failed(path, error);
  m_write_path = temp;
  // The new file gets the mode an ordinary create would give it.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(m_fd, 0666 & ~mask);
  return true;
}

bool AtomicFile::Commit(std::string* error) {
  const bool synced = m_direct || !m_sync || fsync(m_fd) == 0;
  const int saved = errno;
  const bool closed = close(m_fd) == 0;
  m_fd = -1;
  errno = synced ? errno : saved;
  if (!synced || !closed) return Failed(m_path, error);
  if (!m_direct && rename(m_write_path.c_str(), m_path.c_str()) != 0) return Failed(m_path, error);
  m_write_path.clear();
  return true;
}
