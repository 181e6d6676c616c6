#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/uuid.h"
#include "tests/support/test_env.h"

TEST(UuidTest, UpperCaseStandardFormAndUnique) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  std::string text;
  for (int i = 0; i < 200 && CreateUuidText(&text); ++i)
    if (std::regex_match(text, form)) seen.insert(text);
  EXPECT_EQ(seen.size(), 200u) << text;
}

TEST(SystemInfoTest, TempFolderEndsInASlash) {
  ScopedTestHome home;
  const std::pair<const char*, const char*> cases[] = {
      {"/var/tmp", "/var/tmp/"}, {"/var/tmp/", "/var/tmp/"}, {"", "/tmp/"}, {nullptr, "/tmp/"}};
  for (const auto& [tmpdir, folder] : cases) {
    home.SetEnv("TMPDIR", tmpdir);
    EXPECT_EQ(TempFolder(), folder) << (tmpdir ? tmpdir : "(unset)");
  }
}
