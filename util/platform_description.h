// A short description of the platform in the manner of the POSIX uname record, as
// the update check sends it to the vendor. The edition and processor tables are
// pure functions so that every row can be checked on any machine.
#pragma once

#include <string>

// Six texts of at most 64 characters each; the sixth stays empty.
struct PlatformDescription {
  char sysname[65];   // edition name, or empty
  char nodename[65];  // computer name
  char release[65];   // "build %s"
  char version[65];   // "%ld.%02ld", optionally a blank and the service pack
  char machine[65];   // processor family
  char reserved[65];
};

// Fills the record for the running system; always returns 0.
// On Linux: NAME and VERSION_ID of /etc/os-release ("Linux" without the file), the
// host name, "build" and the kernel release, the kernel's major.minor, and the
// machine text of the processor table for the uname machine.
int DescribePlatform(PlatformDescription* record);

// The Windows edition table: platform id 0 Win32s, 1 Windows 9x, 2 NT; product
// type 1 is a workstation. Returns "" for a version the table does not name.
const char* WindowsEditionName(unsigned platform_id, unsigned major, unsigned minor,
                               unsigned product_type);

enum class PlatformFamily { kNT, kWin9x, kOther };
// NT for platform id 2, 9x for 1, other for everything else.
PlatformFamily FamilyOfPlatform(unsigned platform_id);

// The processor table: architecture 0 Intel, 1 MIPS, 2 Alpha, 3 PowerPC, 9 AMD64.
// `level` is the processor level (NT family), `type` the processor type (9x family).
std::string MachineText(unsigned architecture, PlatformFamily family, unsigned level,
                        unsigned type);

// "%ld.%02ld", then a blank and `service_pack` when it is not empty and all of it
// fits in 64 characters.
std::string VersionText(long major, long minor, const char* service_pack);

// The architecture number of the processor table for a uname machine name
// ("x86_64" is 9, "i686" is 0 with level 6); unknown names give 0xFFFF.
unsigned ArchitectureOfMachine(const char* uname_machine, unsigned* level);
