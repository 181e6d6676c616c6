#include "report/variables_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

// Drops whatever a failed parse left behind: libconfig may keep the settings read
// before the error.
void EmptyConfig(config_t* config) {
  config_destroy(config);
  config_init(config);
}

bool ContainsIncludeDirective(const std::string& text) {
  static const char kDirective[] = "@include";
  const size_t length = sizeof kDirective - 1;
  size_t line_start = 0;
  while (line_start < text.size()) {
    size_t p = line_start;
    while (p < text.size() && text[p] != '\n' && isspace(static_cast<unsigned char>(text[p]))) ++p;
    if (text.size() - p >= length && strncasecmp(text.c_str() + p, kDirective, length) == 0)
      return true;
    size_t line_end = text.find('\n', p);
    if (line_end == std::string::npos) break;
    line_start = line_end + 1;
  }
  return false;
}

}  // namespace

bool IsSafeConfigText(const std::string& text) {
  return text.find('\0') == std::string::npos && !ContainsIncludeDirective(text);
}

bool ReadVariablesText(config_t* config, const std::string& text) {
  if (!IsSafeConfigText(text) || config_read_string(config, text.c_str()) != CONFIG_TRUE) {
    EmptyConfig(config);
    return false;
  }
  return true;
}

bool ReadVariablesFile(config_t* config, const char* path) {
  // Non-blocking, so that opening a FIFO cannot hang; it is refused below.
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  std::string text;
  struct stat info;
  bool readable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  static_cast<size_t>(info.st_size) <= kVariablesFileLimit;
  if (readable) {
    // Read up to one byte past the limit, so that a file grown since fstat is caught.
    text.resize(kVariablesFileLimit + 1);
    size_t filled = 0;
    while (filled < text.size()) {
      ssize_t got = read(fd, &text[filled], text.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        readable = false;
        break;
      }
      if (got == 0) break;
      filled += static_cast<size_t>(got);
    }
    text.resize(filled);
    if (filled > kVariablesFileLimit) readable = false;
  }
  close(fd);
  if (!readable) {
    EmptyConfig(config);
    return false;
  }
  return ReadVariablesText(config, text);
}
