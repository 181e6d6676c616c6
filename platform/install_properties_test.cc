#include "platform/install_properties.h"

#include <gtest/gtest.h>

TEST(InstallPropertiesTest, ReadsNameEqualsValueItemsPlainOrQuoted) {
  const InstallProperties kept = {{"kept", "as it was"}};
  const std::pair<std::string, InstallProperties> cases[] = {
      {"  A=1   B=two\tC=3 ", {{"A", "1"}, {"B", "two"}, {"C", "3"}}},
      {"DIR=\"/home/op/My Programs\" B=", {{"DIR", "/home/op/My Programs"}, {"B", ""}}},
      {"MSG=\"say \"\"hi\"\"\"", {{"MSG", "say \"hi\""}}},
      {"_private.name2=caf\xC3\xA9=\\\\n", {{"_private.name2", "caf\xC3\xA9=\\\\n"}}},
      {"INSTALLDIR", kept},  // what does not parse leaves the properties as they were
      {"1ABC=x", kept},
      {"A-B=x", kept},
      {"A=\"open", kept},
      {"A=1 /qn", kept},
  };
  for (const auto& [text, expected] : cases) {
    InstallProperties properties = kept;
    const Status parsed = ParseInstallProperties(text, &properties);
    EXPECT_EQ(parsed.ok(), expected != kept) << text;
    EXPECT_EQ(parsed.message().empty(), expected != kept) << text;
    EXPECT_EQ(expected, properties) << text;
  }
}
