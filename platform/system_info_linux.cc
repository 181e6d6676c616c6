#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/system_info.h"

std::string UserName() {
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
    return found->pw_name;
  for (const char* name : {"USER", "LOGNAME"}) {
    const char* value = getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

std::string ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') return name;
  struct utsname system;
  return uname(&system) == 0 ? system.nodename : "";
}
