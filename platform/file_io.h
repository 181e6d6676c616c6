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
