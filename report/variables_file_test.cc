#include "report/variables_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/test_env.h"

namespace {

// The value of variable.SITE.value after reading, or "(empty)" for an empty
// configuration.
std::string SiteAfterReading(const std::string& path, bool* read_ok) {
  config_t config;
  config_init(&config);
  *read_ok = ReadVariablesFile(&config, path.c_str());
  const char* value = nullptr;
  std::string result = config_lookup_string(&config, "variable.SITE.value", &value) ? value : "";
  if (config_setting_length(config_root_setting(&config)) == 0) result = "(empty)";
  config_destroy(&config);
  return result;
}

TEST(VariablesFileTest, OnlyBoundedRegularFilesWithoutIncludesAreRead) {
  ScopedTestHome home;
  const std::string dir = home.path();
  const std::string valid = "variable = { SITE = { value = \"Main\"; }; };\n";
  ASSERT_TRUE(WriteWholeFile(dir + "/valid.cfg", valid));
  ASSERT_TRUE(WriteWholeFile(dir + "/include.cfg", valid + "  @include \"" + dir + "/valid.cfg\"\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "/include-zero.cfg", "@include \"/dev/zero\"\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "/include-dir.cfg", "@INCLUDE \"/\"\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "/zero-byte.cfg", valid + std::string(1, '\0') + "x = 1;"));
  // A value that mentions @include in the middle of a line is ordinary text.
  ASSERT_TRUE(WriteWholeFile(dir + "/mention.cfg",
                             "variable = { SITE = { value = \"Main @include\"; }; };\n"));
  std::string big = valid + "# " + std::string(kVariablesFileLimit, 'x') + "\n";
  ASSERT_TRUE(WriteWholeFile(dir + "/big.cfg", big));
  std::string at_limit = valid + "#";
  at_limit += std::string(kVariablesFileLimit - at_limit.size() - 1, 'x') + "\n";
  ASSERT_TRUE(WriteWholeFile(dir + "/at-limit.cfg", at_limit));
  ASSERT_EQ(mkfifo((dir + "/fifo.cfg").c_str(), 0600), 0);

  struct {
    std::string path;
    bool read_ok;
    std::string site;
  } cases[] = {
      {dir + "/valid.cfg", true, "Main"},
      {dir + "/mention.cfg", true, "Main @include"},
      {dir + "/at-limit.cfg", true, "Main"},
      {dir + "/include.cfg", false, "(empty)"},
      {dir + "/include-zero.cfg", false, "(empty)"},
      {dir + "/include-dir.cfg", false, "(empty)"},
      {dir + "/zero-byte.cfg", false, "(empty)"},
      {dir + "/big.cfg", false, "(empty)"},
      {dir + "/fifo.cfg", false, "(empty)"},
      {dir, false, "(empty)"},  // a directory: libconfig's own reader would end the program
      {"/dev/zero", false, "(empty)"},
      {dir + "/missing.cfg", false, "(empty)"},
  };
  for (const auto& c : cases) {
    bool read_ok = !c.read_ok;
    EXPECT_EQ(SiteAfterReading(c.path, &read_ok), c.site) << c.path;
    EXPECT_EQ(read_ok, c.read_ok) << c.path;
  }
}

TEST(VariablesFileTest, DeepNestingIsRefusedOrReadWithoutHarm) {
  // Nesting deeper than the parser's stack is a syntax error, not a crash.
  std::string deep = "a = " + std::string(100000, '(') + std::string(100000, ')') + ";";
  config_t config;
  config_init(&config);
  EXPECT_FALSE(ReadVariablesText(&config, deep));
  EXPECT_EQ(config_setting_length(config_root_setting(&config)), 0);
  config_destroy(&config);
}

}  // namespace
