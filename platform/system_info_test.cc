#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/file_io.h"
#include "platform/uuid.h"
#include "tests/support/test_env.h"

TEST(SystemInfoTest, UuidsAreUpperCaseVersion4AndTheTempFolderEndsInASlash) {
  std::string uuid;
  ASSERT_TRUE(CreateUuidText(&uuid));
  EXPECT_TRUE(std::regex_match(
      uuid, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
      << uuid;
  ScopedTestHome home;
  const std::pair<const char*, const char*> cases[] = {
      {"/var/tmp", "/var/tmp/"}, {"/var/tmp/", "/var/tmp/"}, {"", "/tmp/"}};
  for (const auto& [tmpdir, folder] : cases) {
    home.SetEnv("TMPDIR", tmpdir);
    EXPECT_EQ(TempFolder(), folder) << tmpdir;
  }
}
