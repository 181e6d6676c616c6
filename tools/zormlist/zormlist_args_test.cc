#include "tools/zormlist/zormlist_args.h"

#include <gtest/gtest.h>

TEST(ZormListArgsTest, TakesOneFileAndEveryMailToAddress) {
  // arguments after the program's name, accepted, file and recipients read
  const std::tuple<std::vector<const char*>, bool, std::string> kCases[] = {
      {{"--mail-to", "a@x.org", "p.txt", "--mail-to", "b@y"}, true, "p.txt a@x.org b@y "},
      {{"p.txt", "--mail-to"}, false, "p.txt "}, {{"--mail-to", "-x", "p.txt"}, false, " "},
      {{"a.txt", "b.txt"}, false, "a.txt "}, {{"-v", "p.txt"}, false, " "}, {{}, false, " "}};
  for (auto [argv, ok, read] : kCases) {
    argv.insert(argv.begin(), "zormlist");
    ZormListArgs args;
    EXPECT_EQ(ok, ParseZormListArgs(int(argv.size()), argv.data(), &args)) << read;
    for (const std::string& to : args.recipients) args.file += " " + to;
    EXPECT_EQ(read, args.file + " ");
  }
}
