#include "report/variables_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/test_env.h"

namespace {

TEST(VariablesFileTest, OnlyBoundedRegularFilesWithoutIncludesAreRead) {
  ScopedTestHome home;
  const std::string dir = home.path() + "/";
  const std::string valid = "variable = { SITE = { value = \"Main\"; }; };\n";
  std::string at_limit = valid + "#";
  at_limit += std::string(kVariablesFileLimit - at_limit.size() - 1, 'x') + "\n";
  ASSERT_EQ(0, mkfifo((dir + "fifo.cfg").c_str(), 0600));
  struct Case {
    std::string path, contents;  // contents empty: not written
    const char* site;            // null: the read fails and the configuration is empty
  } cases[] = {
      {dir + "valid.cfg", valid, "Main"},
      {dir + "mention.cfg", "variable = { SITE = { value = \"Main @include\"; }; };",
          "Main @include"},
      {dir + "at-limit.cfg", at_limit, "Main"},
      {dir + "big.cfg", valid + "#" + std::string(kVariablesFileLimit - valid.size() - 1, 'x')
          + "\n",
       nullptr},
      {dir + "include.cfg", valid + "  @include \"" + dir + "valid.cfg\"\n", nullptr},
      {dir + "zero-byte.cfg", valid + std::string(1, '\0') + "x = 1;", nullptr},
      {dir + "fifo.cfg", "", nullptr},
      {dir, "", nullptr},  // a directory: libconfig's own reader would end the program
      {dir + "missing.cfg", "", nullptr},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.contents.empty() || WriteWholeFile(c.path, c.contents));
    config_t config;
    config_init(&config);
    EXPECT_EQ(c.site != nullptr, ReadVariablesFile(&config, c.path.c_str())) << c.path;
    const char* value = nullptr;
    config_lookup_string(&config, "variable.SITE.value", &value);
    EXPECT_STREQ(c.site, value) << c.path;
    EXPECT_EQ(c.site != nullptr, config_setting_length(config_root_setting(&config)));
    config_destroy(&config);
  }
}

}  // namespace
