// DescribePlatform for Linux: uname(2) and /etc/os-release.
#include <sys/utsname.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "util/platform_description.h"

namespace {

// The value of KEY=value in an os-release file, with its quotes taken off.
std::string OsReleaseValue(const std::string& contents, const char* key) {
  std::string prefix = std::string(key) + "=";
  size_t start = 0;
  while (start < contents.size()) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    std::string line = contents.substr(start, end - start);
    start = end + 1;
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    std::string value = line.substr(prefix.size());
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return "";
}

void Copy(char (&field)[65], const std::string& text) {
  snprintf(field, sizeof field, "%s", text.c_str());
}

}  // namespace

int DescribePlatform(PlatformDescription* record) {
  memset(record, 0, sizeof *record);
  struct utsname names;
  if (uname(&names) != 0) memset(&names, 0, sizeof names);

  const char* path = getenv("ZORM_OS_RELEASE");  // tests point this at a file of their own
  std::ifstream file(path != nullptr ? path : "/etc/os-release");
  if (file) {
    std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string name = OsReleaseValue(contents, "NAME");
    std::string version = OsReleaseValue(contents, "VERSION_ID");
    if (!version.empty()) name += (name.empty() ? "" : " ") + version;
    Copy(record->sysname, name.empty() ? "Linux" : name);
  } else {
    Copy(record->sysname, "Linux");
  }

  Copy(record->nodename, std::string(names.nodename).substr(0, 64));
  Copy(record->release, std::string("build ") + names.release);

  long major = 0, minor = 0;
  sscanf(names.release, "%ld.%ld", &major, &minor);
  Copy(record->version, VersionText(major, minor, ""));

  unsigned level = 0;
  unsigned architecture = ArchitectureOfMachine(names.machine, &level);
  Copy(record->machine, MachineText(architecture, PlatformFamily::kNT, level, 0));
  return 0;
}
