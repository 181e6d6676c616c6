// File and folder helpers shared by the platform pieces that write to the disk:
// the settings store, the installer's transaction and package reader, the
// isolated run, and the report's workbook. Each call is a thin, restartable
// wrapper around the system call it names; none keeps state between calls, so
// any thread may use them.
//
// The crash dump writer does not use these: it runs inside a signal handler and
// keeps its own async-signal-safe loops.
#pragma once

#include <cstddef>
#include <string>

// Writes all `size` bytes of `data` to `fd`, resuming after interrupted or short
// writes. False on a write error (errno tells which); some bytes may be written.
bool WriteAll(int fd, const void* data, size_t size);
inline bool WriteAll(int fd, const std::string& bytes) {
  return WriteAll(fd, bytes.data(), bytes.size());
}

// The folder for temporary files with a trailing slash: $TMPDIR, else /tmp.
std::string TempFolder();

// `path` without the slashes it ends with; "/" stays "/".
std::string WithoutTrailingSlash(std::string path);

// The folder holding `path`: "/" for a file at the root, "." for a bare name.
std::string ParentFolder(const std::string& path);

// A file that appears at its path only when it is complete. Writes go to a
// temporary file beside the target, which Commit() flushes and renames over it;
// until then an existing file at the path stays as it was, and a file never
// committed is removed. A target that exists and is not a regular file (a
// device, a FIFO) is written directly: there is nothing to rename over.
// Errors read "cannot write <path>: <the system's reason>".
//
// Commit syncs the bytes to the disk before the rename, so that the file survives
// a power cut whole; a file that can simply be made again (an export) may skip that
// wait with `sync` false, and is then whole after any crash of the program only.
class AtomicFile {
 public:
  explicit AtomicFile(bool sync = true) : m_sync(sync) {}
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool Open(const std::string& path, std::string* error);
  int fd() const { return m_fd; }
  // Where the bytes go until Commit(): the temporary file, or the target itself.
  const std::string& write_path() const { return m_write_path; }
  bool Commit(std::string* error);

 private:
  std::string m_path, m_write_path;
  int m_fd = -1;
  bool m_direct = false;
  bool m_sync = true;
};
