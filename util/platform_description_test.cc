#include "util/platform_description.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

TEST(PlatformDescriptionTest, EditionTableNamesEveryRow) {
  struct Row {
    unsigned platform, major, minor, product;
    const char* name;
  } rows[] = {
      {0, 3, 10, 1, "Windows"},
      {1, 3, 95, 1, "Windows 95"},
      {1, 4, 0, 1, "Windows 95"},
      {1, 4, 10, 1, "Windows 98"},
      {1, 4, 89, 2, "Windows 98"},
      {1, 4, 90, 1, "Windows ME"},
      {2, 3, 51, 1, "Windows NT3x"},
      {2, 4, 0, 2, "Windows NT4x"},
      {2, 5, 0, 1, "Windows 2000"},
      {2, 5, 1, 1, "Windows XP"},
      {2, 5, 2, 3, "Windows Server 2003"},
      {2, 6, 0, 1, "Windows Vista"},
      {2, 6, 0, 3, "Windows Server 2008"},
      {2, 6, 1, 1, "Windows 7"},
      {2, 6, 1, 2, "Windows Server 2008 R2"},
      {2, 6, 2, 1, "Windows 8"},
      {2, 6, 2, 3, "Windows Server 2012"},
      {2, 6, 3, 1, "Windows 8.1"},
      {2, 6, 3, 3, "Windows Server 2012 R2"},
      {2, 10, 0, 1, "Windows 10"},
      {2, 10, 0, 3, "Windows Server 2016"},
      {2, 6, 4, 1, ""},
      {2, 11, 0, 1, ""},
      {2, 10, 1, 1, ""},
      {3, 10, 0, 1, ""},
  };
  for (const Row& r : rows)
    EXPECT_STREQ(r.name, WindowsEditionName(r.platform, r.major, r.minor, r.product))
        << r.platform << " " << r.major << "." << r.minor << " type " << r.product;
}

TEST(PlatformDescriptionTest, ProcessorTableGivesTheMachineText) {
  using F = PlatformFamily;
  struct Row {
    unsigned architecture;
    F family;
    unsigned level, type;
    const char* text;
  } rows[] = {
      {0, F::kNT, 6, 0, "i686"},     {0, F::kNT, 5, 0, "i586"},
      {0, F::kWin9x, 0, 386, "i386"}, {0, F::kWin9x, 0, 486, "i486"},
      {0, F::kWin9x, 0, 586, "i586"}, {0, F::kWin9x, 0, 686, "i386"},
      {0, F::kOther, 6, 586, "unknown"}, {1, F::kNT, 0, 0, "mips"},
      {2, F::kNT, 0, 0, "alpha"},    {3, F::kNT, 0, 0, "ppc"},
      {9, F::kNT, 0, 0, "x64"},      {5, F::kNT, 0, 0, "unknown"},   // ARM
      {6, F::kNT, 0, 0, "unknown"},  {12, F::kNT, 0, 0, "unknown"},  // Itanium, ARM64
  };
  for (const Row& r : rows)
    EXPECT_EQ(r.text, MachineText(r.architecture, r.family, r.level, r.type)) << r.architecture;
  EXPECT_EQ(F::kNT, FamilyOfPlatform(2));
  EXPECT_EQ(F::kWin9x, FamilyOfPlatform(1));
  EXPECT_EQ(F::kOther, FamilyOfPlatform(0));
}

TEST(PlatformDescriptionTest, VersionTextAddsServicePackOnlyWhenItFits) {
  EXPECT_EQ("6.01", VersionText(6, 1, ""));
  EXPECT_EQ("10.00", VersionText(10, 0, nullptr));
  EXPECT_EQ("6.01 Service Pack 1", VersionText(6, 1, "Service Pack 1"));
  EXPECT_EQ("5.01 " + std::string(59, 'x'), VersionText(5, 1, std::string(59, 'x').c_str()));
  EXPECT_EQ("5.01", VersionText(5, 1, std::string(60, 'x').c_str()));
}

TEST(PlatformDescriptionTest, LinuxRecordComesFromUnameAndOsRelease) {
  char path[] = "/tmp/os-release-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                         "VERSION_ID=\"12\"\n";
  setenv("ZORM_OS_RELEASE", path, 1);

  PlatformDescription record;
  memset(&record, 'x', sizeof record);
  EXPECT_EQ(0, DescribePlatform(&record));
  struct utsname names;
  uname(&names);
  EXPECT_STREQ("Debian GNU/Linux 12", record.sysname);
  EXPECT_EQ(std::string(names.nodename).substr(0, 64), record.nodename);
  EXPECT_EQ(std::string("build ") + names.release, record.release);
  long major = 0, minor = 0;
  sscanf(names.release, "%ld.%ld", &major, &minor);
  char version[32];
  snprintf(version, sizeof version, "%ld.%02ld", major, minor);
  EXPECT_STREQ(version, record.version);
  if (std::string(names.machine) == "x86_64") {
    EXPECT_STREQ("x64", record.machine);
  }
  EXPECT_STREQ("", record.reserved);

  setenv("ZORM_OS_RELEASE", "/nonexistent/os-release", 1);
  DescribePlatform(&record);
  EXPECT_STREQ("Linux", record.sysname);
  unsetenv("ZORM_OS_RELEASE");
  unlink(path);
}
