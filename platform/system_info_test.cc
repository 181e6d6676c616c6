#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>

#include "platform/uuid.h"
#include "tests/support/test_env.h"

namespace {

// The first line a shell command prints.
std::string CommandOutput(const char* command) {
  FILE* pipe = popen(command, "r");
  if (pipe == nullptr) return "";
  char line[512] = {};
  if (fgets(line, sizeof line, pipe) == nullptr) line[0] = '\0';
  pclose(pipe);
  std::string text = line;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

TEST(UuidTest, UpperCaseStandardFormAndUnique) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    std::string text;
    ASSERT_TRUE(CreateUuidText(&text));
    ASSERT_TRUE(std::regex_match(text, form)) << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 200u);
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

TEST(SystemInfoTest, UserAndComputerNamesMatchTheSystemsTools) {
  EXPECT_EQ(UserName(), CommandOutput("id -un"));
  EXPECT_EQ(ComputerName(), CommandOutput("cat /proc/sys/kernel/hostname"));
  EXPECT_FALSE(ComputerName().empty());
}

}  // namespace
