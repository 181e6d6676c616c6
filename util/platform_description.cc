#include "util/platform_description.h"

#include <cstdio>
#include <cstring>

const char* WindowsEditionName(unsigned platform_id, unsigned major, unsigned minor,
                               unsigned product_type) {
  const bool workstation = product_type == 1;
  switch (platform_id) {
    case 0:
      return "Windows";
    case 1:
      if (major < 4 || (major == 4 && minor == 0)) return "Windows 95";
      if (minor < 90) return "Windows 98";
      return "Windows ME";
    case 2:
      if (major <= 3) return "Windows NT3x";
      if (major == 4) return "Windows NT4x";
      if (major == 5) {
        if (minor == 0) return "Windows 2000";
        return workstation ? "Windows XP" : "Windows Server 2003";
      }
      if (major == 6) {
        switch (minor) {
          case 0: return workstation ? "Windows Vista" : "Windows Server 2008";
          case 1: return workstation ? "Windows 7" : "Windows Server 2008 R2";
          case 2: return workstation ? "Windows 8" : "Windows Server 2012";
          case 3: return workstation ? "Windows 8.1" : "Windows Server 2012 R2";
        }
        return "";
      }
      if (major == 10 && minor == 0) return workstation ? "Windows 10" : "Windows Server 2016";
      return "";
  }
  return "";
}

PlatformFamily FamilyOfPlatform(unsigned platform_id) {
  if (platform_id == 2) return PlatformFamily::kNT;
  if (platform_id == 1) return PlatformFamily::kWin9x;
  return PlatformFamily::kOther;
}

std::string MachineText(unsigned architecture, PlatformFamily family, unsigned level,
                        unsigned type) {
  char text[65];
  switch (architecture) {
    case 0:
      if (family == PlatformFamily::kNT) {
        snprintf(text, sizeof text, "i%d86", static_cast<int>(level));
        return text;
      }
      if (family == PlatformFamily::kWin9x) {
        if (type == 386 || type == 486 || type == 586) {
          snprintf(text, sizeof text, "i%ld", static_cast<long>(type));
          return text;
        }
        return "i386";
      }
      return "unknown";
    case 1: return "mips";
    case 2: return "alpha";
    case 3: return "ppc";
    case 9: return "x64";
  }
  return "unknown";
}

std::string VersionText(long major, long minor, const char* service_pack) {
  char text[65];
  snprintf(text, sizeof text, "%ld.%02ld", major, minor);
  std::string result = text;
  if (service_pack != nullptr && *service_pack != '\0' &&
      result.size() + 1 + strlen(service_pack) <= 64) {
    result += ' ';
    result += service_pack;
  }
  return result;
}

unsigned ArchitectureOfMachine(const char* machine, unsigned* level) {
  *level = 0;
  if (strcmp(machine, "x86_64") == 0 || strcmp(machine, "amd64") == 0) return 9;
  // i386 to i686: the digit is the processor level.
  if (strlen(machine) == 4 && machine[0] == 'i' && machine[1] >= '3' && machine[1] <= '6' &&
      strcmp(machine + 2, "86") == 0) {
    *level = machine[1] - '0';
    return 0;
  }
  if (strncmp(machine, "mips", 4) == 0) return 1;
  if (strcmp(machine, "alpha") == 0) return 2;
  if (strncmp(machine, "ppc", 3) == 0 || strncmp(machine, "powerpc", 7) == 0) return 3;
  return 0xFFFF;
}
