#include "framework/executable_folder.h"

#include <limits.h>
#include <unistd.h>

std::string ExecutableFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string executable(path, static_cast<size_t>(length));
  return executable.substr(0, executable.rfind('/') + 1);
}
