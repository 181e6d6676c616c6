#include "platform/install_transaction.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_env.h"

namespace fs = std::filesystem;

// A link met below the root, as if swapped in after the package's folders were
// checked, must not take the file out; links at or above the root are the user's.
TEST(InstallTransactionTest, FollowsNoLinkBelowTheRoot) {
  struct Case {
    const char* link;    // below the test's home, pointing at "outside"
    const char* target;  // below the root
    const char* error_part;
    const char* lands;  // where the file is afterwards, below the test's home
  } const kCases[] = {
      {"root/doc", "doc/a.txt", "root/doc leads out of", "staging/new"},
      {"root/doc", "doc/sub/a.txt", "root/doc leads out of", "staging/new"},
      {"root/a.txt", "a.txt", "", "root/a.txt"},
      {"root", "doc/a.txt", "", "outside/doc/a.txt"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.target);
    ScopedTestHome home;
    const std::string base = home.path() + "/", root = base + "root";
    fs::create_directories(base + "outside");
    fs::create_directories(base + "staging");
    ASSERT_TRUE(WriteWholeFile(base + "outside/a.txt", "kept"));
    ASSERT_TRUE(WriteWholeFile(base + "staging/new", "new"));
    if (std::string(c.link) != "root") fs::create_directories(root);
    fs::create_symlink(base + "outside", base + c.link);
    InstallTransaction transaction;
    transaction.Adopt(base + "staging");
    const Status moved = transaction.MoveIntoPlace(base + "staging/new", root + "/" + c.target, root);
    EXPECT_EQ(*c.error_part == 0, moved.ok()) << moved.message();
    EXPECT_NE(std::string::npos, moved.message().find(c.error_part)) << moved.message();
    EXPECT_EQ("new", ReadWholeFile(base + c.lands));
    EXPECT_EQ("kept", ReadWholeFile(base + "outside/a.txt"));
    EXPECT_FALSE(fs::exists(base + "outside/sub"));
    transaction.Commit();
  }
}
