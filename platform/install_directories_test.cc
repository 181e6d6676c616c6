#include "platform/install_directories.h"

#include <gtest/gtest.h>

namespace {

// The folders of a typical per-user package: a root, a stand-in system folder,
// the product's folder and a subfolder with a short|long name.
const std::vector<InstallDirectoryRow> kTable = {
    {"TARGETDIR", "", "SourceDir"},
    {"LocalAppDataFolder", "TARGETDIR", "."},
    {"INSTALLDIR", "LocalAppDataFolder", "CALVAR~1|Calvaro ABC:src"},
    {"DocFolder", "INSTALLDIR", "doc"},
};

}  // namespace

TEST(InstallDirectoriesTest, ResolvesBelowTheRootOrWherePropertiesSay) {
  struct Case {
    InstallProperties properties;
    std::string installdir, docs;
  };
  const Case cases[] = {
      {{}, "/data/Morvend/Calvaro ABC", "/data/Morvend/Calvaro ABC/doc"},
      {{{"INSTALLDIR", "/opt/abc"}}, "/opt/abc", "/opt/abc/doc"},
      {{{"INSTALLDIR", "/opt/abc//"}}, "/opt/abc", "/opt/abc/doc"},
      {{{"TARGETDIR", "/srv"}}, "/srv/Calvaro ABC", "/srv/Calvaro ABC/doc"},
      {{{"TARGETDIR", "/srv"}, {"INSTALLDIR", "/opt/abc"}}, "/opt/abc", "/opt/abc/doc"},
      {{{"DocFolder", "/usr/share/doc/abc"}}, "/data/Morvend/Calvaro ABC", "/usr/share/doc/abc"},
      {{{"INSTALLDIR", ""}}, "/data/Morvend/Calvaro ABC", "/data/Morvend/Calvaro ABC/doc"},
      {{{"INSTALLDIR", "/"}}, "/", "/doc"},
  };
  for (const Case& c : cases) {
    std::map<std::string, std::string> paths;
    std::string error;
    ASSERT_TRUE(ResolveInstallDirectories(kTable, c.properties, "/data/Morvend/", &paths, &error))
        << error;
    EXPECT_EQ(c.installdir, paths["INSTALLDIR"]);
    EXPECT_EQ(c.docs, paths["DocFolder"]);
    EXPECT_EQ(4u, paths.size());
  }
}

TEST(InstallDirectoriesTest, RejectsBrokenTablesAndRelativeFolders) {
  struct Case {
    std::vector<InstallDirectoryRow> rows;
    InstallProperties properties;
  };
  const Case cases[] = {
      {{{"A", "MISSING", "a"}}, {}},
      {{{"A", "B", "a"}, {"B", "A", "b"}}, {}},
      {{{"R", "", "."}, {"A", "R", ".."}}, {}},
      {{{"R", "", "."}, {"A", "R", "x/../../etc"}}, {}},
      {{{"R", "", "."}, {"A", "R", "a\\b"}}, {}},
      {{{"R", "", "."}, {"A", "R", ""}}, {}},
      {{{"R", "", "."}, {"A", "R", "two\nlines"}}, {}},
      {kTable, {{"INSTALLDIR", "relative/path"}}},
      {kTable, {{"INSTALLDIR", "/opt/two\nlines"}}},
  };
  for (const Case& c : cases) {
    std::map<std::string, std::string> paths;
    std::string error;
    EXPECT_FALSE(ResolveInstallDirectories(c.rows, c.properties, "/data", &paths, &error));
    EXPECT_FALSE(error.empty());
  }
}
