#include "tools/zormlist/zormlist_args.h"

#include <gtest/gtest.h>

TEST(ZormListArgsTest, TakesOneFileAndEveryMailToAddress) {
  using Strings = std::vector<std::string>;
  // arguments after the program's name, accepted, file, recipients
  const std::tuple<std::vector<const char*>, bool, std::string, Strings> kCases[] = {
      {{"p.txt"}, true, "p.txt", {}},
      {{"--mail-to", "a@x.org", "p.txt", "--mail-to", "b@y"}, true, "p.txt", {"a@x.org", "b@y"}},
      {{}, false, "", {}}, {{"a.txt", "b.txt"}, false, "a.txt", {}},
      {{"p.txt", "--mail-to"}, false, "p.txt", {}}, {{"--mail-to", "--x", "p.txt"}, false, "", {}},
      {{"-v", "p.txt"}, false, "", {}}};
  for (const auto& [argv, ok, file, recipients] : kCases) {
    SCOPED_TRACE(testing::PrintToString(argv));
    std::vector<const char*> all = {"zormlist"};
    all.insert(all.end(), argv.begin(), argv.end());
    ZormListArgs args;
    EXPECT_EQ(ok, ParseZormListArgs(int(all.size()), all.data(), &args));
    EXPECT_EQ(std::tie(file, recipients), std::tie(args.file, args.recipients));
  }
}
