#include "platform/install_properties.h"

#include <gtest/gtest.h>

TEST(InstallPropertiesTest, ParsesNamesAndPlainAndQuotedValues) {
  struct Case {
    std::string text;
    InstallProperties expected;
  };
  const Case cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"INSTALLDIR=/opt/abc", {{"INSTALLDIR", "/opt/abc"}}},
      {"  A=1   B=two\tC=3 ", {{"A", "1"}, {"B", "two"}, {"C", "3"}}},
      {"INSTALLDIR=\"/home/op/My Programs/abc\"", {{"INSTALLDIR", "/home/op/My Programs/abc"}}},
      {"A=\"\" B=", {{"A", ""}, {"B", ""}}},
      {"MSG=\"say \"\"hi\"\"\"", {{"MSG", "say \"hi\""}}},
      {"A=\"x=y z\" A=last", {{"A", "last"}}},
      {"_private.name2=ok", {{"_private.name2", "ok"}}},
      {"A=caf\xC3\xA9=\\\\n", {{"A", "caf\xC3\xA9=\\\\n"}}},
  };
  for (const Case& c : cases) {
    InstallProperties properties = {{"stale", "value"}};
    std::string error;
    EXPECT_TRUE(ParseInstallProperties(c.text, &properties, &error)) << c.text << ": " << error;
    EXPECT_EQ(c.expected, properties) << c.text;
  }
}

TEST(InstallPropertiesTest, RejectsTextThatIsNotNameEqualsValue) {
  const char* cases[] = {
      "INSTALLDIR",        // no "="
      "INSTALLDIR =/opt",  // space before "="
      "=value",            // no name
      "1ABC=x",            // name starts with a digit
      "A-B=x",             // "-" in a name
      "A=\"open",          // quote never closed
      "A=\"a\"b",          // text glued to the closing quote
      "A=x\"y",            // quote inside a plain value
      "A=1 /qn",           // a switch is not a property
      "\"A=1\"",           // the whole item quoted
  };
  for (const char* text : cases) {
    InstallProperties properties = {{"kept", "as it was"}};
    std::string error;
    EXPECT_FALSE(ParseInstallProperties(text, &properties, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ((InstallProperties{{"kept", "as it was"}}), properties) << text;
  }
}
