#include "platform/install_directories.h"

#include <gtest/gtest.h>

// A per-user package's folders: root, system folder, product (short|long name), subfolder.
const std::vector<InstallDirectoryRow> kTable = {
    {"TARGETDIR", "", "SourceDir"},
    {"LocalAppDataFolder", "TARGETDIR", "."},
    {"INSTALLDIR", "LocalAppDataFolder", "CALVAR~1|Calvaro ABC:src"},
    {"DocFolder", "INSTALLDIR", "doc"}};

TEST(InstallDirectoriesTest, ResolvesBelowTheRootOrWherePropertiesSayAndRejectsBrokenTables) {
  struct Case {
    std::vector<InstallDirectoryRow> rows;
    InstallProperties properties;
    std::string installdir, docs;  // empty: the table is rejected
  };
  const std::string product = "/data/Morvend/Calvaro ABC";
  const Case cases[] = {
      {kTable, {{"TARGETDIR", "/srv"}, {"INSTALLDIR", "/opt/abc"}}, "/opt/abc", "/opt/abc/doc"},
      {kTable, {{"DocFolder", "/usr/share/doc/abc"}}, product, "/usr/share/doc/abc"},
      {{{"A", "B", "a"}, {"B", "A", "b"}}, {}, "", ""},
      {{{"R", "", "."}, {"A", "R", "x/../../etc"}}, {}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows.back().id + " " + c.installdir);
    std::map<std::string, std::string> paths;
    const Status resolved =
        ResolveInstallDirectories(c.rows, c.properties, "/data/Morvend/", &paths);
    EXPECT_EQ(resolved.ok(), !c.installdir.empty()) << resolved.message();
    if (!resolved.ok()) continue;
    EXPECT_EQ(c.installdir, paths["INSTALLDIR"]);
    EXPECT_EQ(c.docs, paths["DocFolder"]);
  }
}
