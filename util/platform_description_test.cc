#include "util/platform_description.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include "tests/support/test_env.h"

TEST(PlatformDescriptionTest, WindowsTablesNameEditionsAndMachines) {
  // Platform, version, product type and the edition's name.
  const std::tuple<unsigned, unsigned, unsigned, unsigned, const char*> editions[] = {
      {1, 4, 90, 1, "Windows ME"},
      {2, 6, 1, 2, "Windows Server 2008 R2"},
      {2, 6, 3, 1, "Windows 8.1"},
      {2, 10, 0, 3, "Windows Server 2016"},
      {2, 6, 4, 1, ""}};
  for (const auto& [platform, major, minor, product, name] : editions)
    EXPECT_STREQ(name, WindowsEditionName(platform, major, minor, product)) << name;
  EXPECT_EQ("i486", MachineText(0, PlatformFamily::kWin9x, 0, 486));
  EXPECT_EQ("unknown", MachineText(12, PlatformFamily::kNT, 0, 0));
}

TEST(PlatformDescriptionTest, LinuxRecordComesFromUnameAndOsRelease) {
  ScopedTestHome home;
  const std::string os_release = home.path() + "/os-release";
  ASSERT_TRUE(WriteWholeFile(os_release,
                             "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                             "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"));
  struct utsname names;
  uname(&names);
  long major = 0, minor = 0;
  sscanf(names.release, "%ld.%ld", &major, &minor);
  char version[32];
  snprintf(version, sizeof version, "%ld.%02ld", major, minor);
  for (const auto& [file, sysname] : {std::pair(os_release, "Debian GNU/Linux 12"),
                                      std::pair(home.path() + "/missing", "Linux")}) {
    home.SetEnv("ZORM_OS_RELEASE", file.c_str());
    PlatformDescription record;
    EXPECT_EQ(0, DescribePlatform(&record));
    EXPECT_STREQ(sysname, record.sysname);
    EXPECT_EQ(std::string("build ") + names.release, record.release);
    EXPECT_STREQ(version, record.version);
  }
}
