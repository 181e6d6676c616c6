#include "platform/install_properties.h"

#include <gtest/gtest.h>

TEST(InstallPropertiesTest, ReadsNameEqualsValueItemsPlainOrQuoted) {
  struct Case {
    std::string text;
    bool ok;
    InstallProperties expected;  // when not ok: the properties as they were
  };
  const InstallProperties kept = {{"kept", "as it was"}};
  const Case cases[] = {
      {"  \t ", true, {}},
      {"  A=1   B=two\tC=3 ", true, {{"A", "1"}, {"B", "two"}, {"C", "3"}}},
      {"INSTALLDIR=\"/home/op/My Programs/abc\"",
       true,
       {{"INSTALLDIR", "/home/op/My Programs/abc"}}},
      {"A=\"\" B=", true, {{"A", ""}, {"B", ""}}},
      {"MSG=\"say \"\"hi\"\"\"", true, {{"MSG", "say \"hi\""}}},
      {"A=\"x=y z\" A=last", true, {{"A", "last"}}},
      {"_private.name2=caf\xC3\xA9=\\\\n", true, {{"_private.name2", "caf\xC3\xA9=\\\\n"}}},
      {"INSTALLDIR", false, kept},
      {"INSTALLDIR =/opt", false, kept},
      {"=value", false, kept},
      {"1ABC=x", false, kept},
      {"A-B=x", false, kept},
      {"A=\"open", false, kept},
      {"A=\"a\"b", false, kept},
      {"A=x\"y", false, kept},
      {"A=1 /qn", false, kept},
      {"\"A=1\"", false, kept},
  };
  for (const Case& c : cases) {
    InstallProperties properties = kept;
    std::string error;
    EXPECT_EQ(ParseInstallProperties(c.text, &properties, &error), c.ok) << c.text << ": " << error;
    EXPECT_EQ(error.empty(), c.ok) << c.text;
    EXPECT_EQ(c.expected, properties) << c.text;
  }
}
