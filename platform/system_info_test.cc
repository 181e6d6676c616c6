#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/uuid.h"
#include "tests/support/test_env.h"

TEST(SystemInfoTest, UuidsAreUpperCaseVersion4AndTheTempFolderEndsInASlash) {
  std::string first, second;
  ASSERT_TRUE(CreateUuidText(&first) && CreateUuidText(&second));
  EXPECT_TRUE(std::regex_match(
      first, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
      << first;
  EXPECT_NE(first, second);
  ScopedTestHome home;
  const std::pair<const char*, const char*> cases[] = {
      {"/var/tmp", "/var/tmp/"}, {"/var/tmp/", "/var/tmp/"}, {"", "/tmp/"}, {nullptr, "/tmp/"}};
  for (const auto& [tmpdir, folder] : cases) {
    home.SetEnv("TMPDIR", tmpdir);
    EXPECT_EQ(TempFolder(), folder) << (tmpdir ? tmpdir : "(unset)");
  }
}
