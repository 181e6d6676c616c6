#include "platform/install_transaction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include "tests/support/test_env.h"

// A link below the root, as if swapped in after the package's folders were
// checked, must not take the file out; a link at the root is the user's own.
TEST(InstallTransactionTest, FollowsNoLinkBelowTheRoot) {
  // The link to "out", the error, where the file lands.
  const std::tuple<const char*, const char*, const char*> kCases[] = {
      {"root/doc", "root/doc leads out of", "staging/new"}, {"root", "", "out/doc/a.txt"}};
  for (const auto& [link, error_part, lands] : kCases) {
    SCOPED_TRACE(link);
    ScopedTestHome home;
    const std::string base = home.path() + "/";
    for (const char* folder : {"out", "staging", "root"}) std::filesystem::create_directories(base + folder);
    if (std::string(link) == "root") std::filesystem::remove(base + "root");
    std::filesystem::create_symlink(base + "out", base + link);
    ASSERT_TRUE(WriteWholeFile(base + "staging/new", "new"));
    InstallTransaction transaction;
    const Status moved = transaction.MoveIntoPlace(base + "staging/new", base + "root/doc/a.txt", base + "root");
    EXPECT_EQ(*error_part == 0, moved.ok()) << moved.message();
    EXPECT_NE(std::string::npos, moved.message().find(error_part)) << moved.message();
    EXPECT_EQ("new", ReadWholeFile(base + lands));
    EXPECT_EQ(*error_part == 0, std::filesystem::exists(base + "out/doc"));
  }
}
