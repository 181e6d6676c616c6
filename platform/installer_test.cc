#include "platform/installer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/install_transaction.h"
#include "platform/installed_products.h"
#include "tests/e2e/lighttpd_server.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;

const std::string kPackages = ZORM_TEST_PACKAGES;
const std::string kSources = ZORM_TEST_PACKAGE_SOURCES;
const std::string kV1 = kPackages + "/abc_v1.msi";
const std::string kV2 = kPackages + "/abc_v2.msi";
const char kV1Code[] = "{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1001}";
const char kV2Code[] = "{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1002}";

std::string Source(const std::string& name) { return ReadWholeFile(kSources + "/" + name); }

bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

// Every file below `folder`, as paths relative to it, with the contents.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
    if (it->is_regular_file())
      files[fs::relative(it->path(), folder).string()] = ReadWholeFile(it->path());
  return files;
}

// Every folder below `folder` whose name marks an installation's staging area.
std::vector<std::string> StagingLeftovers(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
    if (IsStagingFolderName(it->path().filename().string())) found.push_back(it->path());
  return found;
}

// What an installation put anywhere in the test's home, settings and the
// temporary folder (where the test's web server lives) aside.
std::map<std::string, std::string> InstalledFiles(const ScopedTestHome& home) {
  std::map<std::string, std::string> files = FilesBelow(home.path());
  std::erase_if(files, [](const auto& file) {
    return file.first.rfind("config/", 0) == 0 || file.first.rfind("tmp/", 0) == 0;
  });
  return files;
}

// Downloaded packages left in the temporary folder.
std::vector<std::string> DownloadLeftovers(const ScopedTestHome& home) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(home.temp_dir()))
    if (entry.path().filename().string().rfind("morvend-package-", 0) == 0)
      found.push_back(entry.path());
  return found;
}

std::vector<InstalledProduct> Recorded() {
  std::vector<InstalledProduct> products;
  std::string error;
  EXPECT_TRUE(ReadInstalledProducts(&products, &error)) << error;
  return products;
}

std::map<std::string, std::string> V1Files() {
  return {{"alpha.txt", Source("v1/alpha.txt")}, {"doc/beta.txt", Source("v1/beta.txt")}};
}

InstallResult Install(const std::string& package, const std::string& command_line = "",
                      const InstallProgressCallback& progress = {}) {
  return InstallProduct(package, command_line, progress);
}

}  // namespace

TEST(InstallerTest, InstallsTheFilesIntoTheDefaultFolderAndRecordsTheProduct) {
  ScopedTestHome home;
  InstallResult result = Install(kV1);
  ASSERT_EQ(kInstallSuccess, result.code) << result.error;

  const std::string folder = home.data_home() + "/Morvend/Calvaro ABC";
  EXPECT_EQ(V1Files(), FilesBelow(home.data_home() + "/Morvend/Calvaro ABC"));
  EXPECT_EQ(2u, FilesBelow(home.data_home()).size());
  EXPECT_TRUE(StagingLeftovers(home.path()).empty());

  std::vector<InstalledProduct> products = Recorded();
  ASSERT_EQ(1u, products.size());
  EXPECT_EQ(kV1Code, products[0].product_code);
  EXPECT_EQ("Calvaro ABC", products[0].name);
  EXPECT_EQ("1.0.0", products[0].version);
  EXPECT_EQ("{0E5A7C3B-52D1-4B8E-A7F0-9C4D2E6B7A11}", products[0].upgrade_code);
  EXPECT_EQ(folder, products[0].install_folder);
  std::vector<std::string> files = products[0].files;
  std::sort(files.begin(), files.end());
  EXPECT_EQ((std::vector<std::string>{folder + "/alpha.txt", folder + "/doc/beta.txt"}), files);

  // The record is readable and editable by hand in the user's settings file.
  const std::string key =
      "[HKEY_CURRENT_USER\\Software\\Morvend\\Installer\\Products\\"
      "{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1001}";
  EXPECT_EQ("Windows Registry Editor Version 5.00\n\n" + key + "]\n" + "\"InstallFolder\"=\"" +
                folder +
                "\"\n"
                "\"ProductName\"=\"Calvaro ABC\"\n"
                "\"ProductVersion\"=\"1.0.0\"\n"
                "\"UpgradeCode\"=\"{0E5A7C3B-52D1-4B8E-A7F0-9C4D2E6B7A11}\"\n\n" +
                key + "\\Files]\n" + "\"000001\"=\"" + folder + "/alpha.txt\"\n" + "\"000002\"=\"" +
                folder + "/doc/beta.txt\"\n",
            ReadWholeFile(home.config_home() + "/Morvend/registry.reg"));
}

TEST(InstallerTest, PropertyTextDecidesWhereTheFilesGo) {
  struct Case {
    std::string command_line;  // "@" stands for the test's home folder
    std::string folder;
  };
  const Case cases[] = {
      {"INSTALLDIR=@/opt/abc", "@/opt/abc"},
      {"  INSTALLDIR=\"@/My Programs/abc\"  ", "@/My Programs/abc"},
      {"TARGETDIR=@/root", "@/root/Calvaro ABC"},
      {"TARGETDIR=@/root INSTALLDIR=@/chosen/", "@/chosen"},
      {"UNUSED=1 INSTALLDIR=@/first INSTALLDIR=@/second", "@/second"},
  };
  for (const Case& c : cases) {
    ScopedTestHome home;
    auto expand = [&](std::string text) {
      for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, home.path());
      return text;
    };
    InstallResult result = Install(kV1, expand(c.command_line));
    ASSERT_EQ(kInstallSuccess, result.code) << c.command_line << ": " << result.error;
    EXPECT_EQ(V1Files(), FilesBelow(expand(c.folder))) << c.command_line;
    EXPECT_FALSE(Exists(home.data_home() + "/Morvend")) << c.command_line;
    ASSERT_EQ(1u, Recorded().size());
    EXPECT_EQ(expand(c.folder), Recorded()[0].install_folder);
  }
}

TEST(InstallerTest, BadPackagesAndPropertyTextInstallNothing) {
  ScopedTestHome outer;
  const std::string text_file = outer.path() + "/notes.msi";
  const std::string truncated = outer.path() + "/truncated.msi";
  const std::string empty = outer.path() + "/empty.msi";
  ASSERT_TRUE(WriteWholeFile(text_file, "This is a text file, not an installation package.\n"));
  ASSERT_TRUE(WriteWholeFile(truncated, ReadWholeFile(kV1).substr(0, 3000)));
  ASSERT_TRUE(WriteWholeFile(empty, ""));

  struct Case {
    std::string package, command_line;
    unsigned code;
  };
  const Case cases[] = {
      {kV1, "INSTALLDIR", kInstallInvalidCommandLine},
      {kV1, "INSTALLDIR=\"/opt/abc", kInstallInvalidCommandLine},
      {kV1, "/qn", kInstallInvalidCommandLine},
      {"", "INSTALLDIR=", kInstallPackageOpenFailed},
      {"", "", kInstallPackageOpenFailed},
      {outer.path() + "/missing.msi", "", kInstallPackageOpenFailed},
      {outer.path(), "", kInstallPackageOpenFailed},
      {text_file, "", kInstallPackageInvalid},
      {truncated, "", kInstallPackageInvalid},
      {empty, "", kInstallPackageInvalid},
      // A damaged package on which libmsi itself crashes.
      {kSources + "/reader_crash.msi", "", kInstallPackageInvalid},
      {kV1, "INSTALLDIR=relative/abc", kInstallFailure},
  };
  for (const Case& c : cases) {
    ScopedTestHome home;
    InstallResult result = Install(c.package, c.command_line);
    EXPECT_EQ(c.code, result.code) << c.package << " " << c.command_line;
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(InstalledFiles(home).empty()) << c.package << " " << c.command_line;
    EXPECT_TRUE(Recorded().empty());
  }
}

namespace {

// A copy of `package` whose embedded cabinet has `count` bytes flipped from
// `offset` on (counted from the cabinet's first byte).
std::string DamagedCopy(const std::string& package, const std::string& folder, size_t offset,
                        size_t count) {
  std::string bytes = ReadWholeFile(package);
  size_t cabinet = bytes.find("MSCF");
  EXPECT_NE(std::string::npos, cabinet);
  for (size_t i = 0; i < count; ++i) bytes[cabinet + offset + i] ^= 0x5A;
  std::string copy = folder + "/damaged.msi";
  EXPECT_TRUE(WriteWholeFile(copy, bytes));
  return copy;
}

// The offset of the first data block's compressed bytes in the cabinet of `package`.
size_t FirstDataOffset(const std::string& package) {
  std::string bytes = ReadWholeFile(package);
  const unsigned char* cab =
      reinterpret_cast<const unsigned char*>(bytes.data() + bytes.find("MSCF"));
  uint32_t first_block = cab[36] | cab[37] << 8 | cab[38] << 16 | uint32_t(cab[39]) << 24;
  return first_block + 8;  // after the block's checksum and two sizes
}

}  // namespace

TEST(InstallerTest, DamagedCabinetFailsWithoutInstallingOrReplacingAnything) {
  struct Case {
    const char* what;
    size_t offset, count;
  };
  const Case cases[] = {
      {"signature", 0, 4},
      {"compressed data", FirstDataOffset(kV2) + 4, 6},
  };
  for (const Case& c : cases) {
    for (bool v1_installed : {false, true}) {
      ScopedTestHome home;
      if (v1_installed) {
        ASSERT_EQ(kInstallSuccess, Install(kV1).code);
      }
      std::string damaged = DamagedCopy(kV2, home.path(), c.offset, c.count);
      std::map<std::string, std::string> before = InstalledFiles(home);

      InstallResult result = Install(damaged);
      EXPECT_EQ(kInstallFailure, result.code) << c.what;
      EXPECT_NE(std::string::npos, result.error.find("cabinet")) << result.error;
      EXPECT_EQ(before, InstalledFiles(home)) << c.what;
      EXPECT_TRUE(StagingLeftovers(home.path()).empty()) << c.what;
      std::vector<InstalledProduct> products = Recorded();
      ASSERT_EQ(v1_installed ? 1u : 0u, products.size());
      if (v1_installed) {
        EXPECT_EQ(kV1Code, products[0].product_code);
      }
    }
  }
}

TEST(InstallerTest, FailureWhilePlacingFilesPutsTheEarlierVersionBack) {
  ScopedTestHome home;
  ASSERT_EQ(kInstallSuccess, Install(kV1).code);
  const std::string folder = home.data_home() + "/Morvend/Calvaro ABC";
  // A folder where build 2 wants to put gamma.txt: that move fails.
  ASSERT_TRUE(fs::create_directories(folder + "/gamma.txt/inside"));
  std::map<std::string, std::string> before = InstalledFiles(home);

  InstallResult result = Install(kV2);
  EXPECT_EQ(kInstallFailure, result.code);
  EXPECT_NE(std::string::npos, result.error.find("gamma.txt")) << result.error;
  EXPECT_EQ(before, InstalledFiles(home));
  EXPECT_TRUE(StagingLeftovers(home.path()).empty());
  ASSERT_EQ(1u, Recorded().size());
  EXPECT_EQ(kV1Code, Recorded()[0].product_code);
}

TEST(InstallerTest, NewVersionReplacesTheOldOneOfTheSameUpgradeCode) {
  ScopedTestHome home;
  ASSERT_EQ(kInstallSuccess, Install(kV1).code);
  InstallResult result = Install(kV2);
  ASSERT_EQ(kInstallSuccess, result.code) << result.error;

  const std::string folder = home.data_home() + "/Morvend/Calvaro ABC";
  EXPECT_EQ((std::map<std::string, std::string>{{"alpha.txt", Source("v2/alpha.txt")},
                                                {"gamma.txt", Source("v2/gamma.txt")}}),
            FilesBelow(folder));
  EXPECT_FALSE(Exists(folder + "/doc"));  // emptied by removing beta.txt
  std::vector<InstalledProduct> products = Recorded();
  ASSERT_EQ(1u, products.size());
  EXPECT_EQ(kV2Code, products[0].product_code);
  EXPECT_EQ("2.0.0", products[0].version);

  // Installing the same build again keeps one record and the same files.
  ASSERT_EQ(kInstallSuccess, Install(kV2).code);
  EXPECT_EQ(2u, FilesBelow(folder).size());
  EXPECT_EQ(1u, Recorded().size());
}

TEST(InstallerTest, UpgradeIntoAnotherFolderRemovesTheOldFolder) {
  ScopedTestHome home;
  ASSERT_EQ(kInstallSuccess, Install(kV1).code);
  ASSERT_EQ(kInstallSuccess, Install(kV2, "INSTALLDIR=" + home.path() + "/moved").code);
  EXPECT_FALSE(Exists(home.data_home() + "/Morvend/Calvaro ABC"));
  EXPECT_EQ(2u, FilesBelow(home.path() + "/moved").size());
}

TEST(InstallerTest, CancelAtAnyStageInstallsNothing) {
  struct Case {
    InstallProgress::Stage cancel_at;
    bool over_http;
  };
  const Case cases[] = {
      {InstallProgress::Stage::kDownload, true},
      {InstallProgress::Stage::kInstall, true},
      {InstallProgress::Stage::kInstall, false},
  };
  for (const Case& c : cases) {
    ScopedTestHome home;
    LighttpdServer server({kPackages, "", {}, {}});
    std::string error;
    ASSERT_TRUE(server.Start(&error)) << error;
    std::string package = c.over_http ? server.base_url() + "/abc_v1.msi" : kV1;

    int calls = 0;
    InstallResult result = Install(package, "", [&](const InstallProgress& progress) {
      ++calls;
      return progress.stage != c.cancel_at;
    });
    EXPECT_EQ(kInstallUserExit, result.code) << result.error;
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(InstalledFiles(home).empty());
    EXPECT_TRUE(StagingLeftovers(home.path()).empty());
    EXPECT_TRUE(DownloadLeftovers(home).empty());
    EXPECT_TRUE(Recorded().empty());
  }
}

TEST(InstallerTest, DownloadsAnHttpPackageReportingProgressThenInstalls) {
  ScopedTestHome home;
  LighttpdServer server({kPackages, "", {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;

  const uint64_t size = fs::file_size(kV1);
  InstallProgress last_download;
  int install_reports = 0;
  InstallResult result =
      Install(server.base_url() + "/abc_v1.msi", "INSTALLDIR=\"" + home.path() + "/from web\"",
              [&](const InstallProgress& progress) {
                if (progress.stage == InstallProgress::Stage::kDownload)
                  last_download = progress;
                else
                  ++install_reports;
                return true;
              });
  ASSERT_EQ(kInstallSuccess, result.code) << result.error;
  EXPECT_EQ(V1Files(), FilesBelow(home.path() + "/from web"));
  EXPECT_EQ(size, last_download.done);
  EXPECT_EQ(size, last_download.total);
  EXPECT_EQ(100, last_download.percent);
  EXPECT_GT(install_reports, 0);
  EXPECT_TRUE(DownloadLeftovers(home).empty());
  EXPECT_TRUE(server.AccessLogContains("\"GET /abc_v1.msi HTTP/1.1\" 200"));

  result = Install(server.base_url() + "/missing.msi");
  EXPECT_EQ(kInstallPackageOpenFailed, result.code);
  EXPECT_NE(std::string::npos, result.error.find("404")) << result.error;
  EXPECT_TRUE(DownloadLeftovers(home).empty());
}

TEST(InstallerTest, MsiInstallProductReportsToTheProgressCallbackSet) {
  ScopedTestHome home;
  EXPECT_EQ(kInstallPackageOpenFailed, MsiInstallProductA(nullptr, nullptr));
  InstallProgressCallback previous =
      SetInstallProgressCallback([](const InstallProgress&) { return false; });
  EXPECT_EQ(kInstallUserExit, MsiInstallProductA(kV1.c_str(), ""));
  SetInstallProgressCallback(previous);
  EXPECT_EQ(kInstallSuccess, MsiInstallProductA(kV1.c_str(), nullptr));
  EXPECT_EQ(2u, InstalledFiles(home).size());
}

TEST(InstallerTest, DefaultRootFollowsXdgDataHome) {
  struct Case {
    const char* data_home;  // null: unset; "@" stands for the test's home
    const char* root;
  };
  const Case cases[] = {
      {"@/data", "@/data/Morvend"},
      {nullptr, "@/.local/share/Morvend"},
      {"", "@/.local/share/Morvend"},
      {"relative/data", "@/.local/share/Morvend"},
  };
  for (const Case& c : cases) {
    ScopedTestHome home;
    auto expand = [&](std::string text) {
      if (!text.empty() && text[0] == '@') text.replace(0, 1, home.path());
      return text;
    };
    home.SetEnv("XDG_DATA_HOME", c.data_home ? expand(c.data_home).c_str() : nullptr);
    InstallResult result = Install(kV1);
    ASSERT_EQ(kInstallSuccess, result.code) << result.error;
    EXPECT_EQ(V1Files(), FilesBelow(expand(c.root) + "/Calvaro ABC"));
    EXPECT_EQ(2u, InstalledFiles(home).size());
  }
}

TEST(InstallerTest, SettingsThatCannotBeWrittenUndoTheInstallation) {
  ScopedTestHome home;
  ASSERT_EQ(kInstallSuccess, Install(kV1).code);
  const std::string settings = home.config_home() + "/Morvend/registry.reg";
  const std::string recorded = ReadWholeFile(settings);
  std::map<std::string, std::string> before = InstalledFiles(home);
  ASSERT_EQ(0, chmod(settings.c_str(), 0444));

  InstallResult result = Install(kV2);
  EXPECT_EQ(kInstallFailure, result.code);
  EXPECT_NE(std::string::npos, result.error.find("record")) << result.error;
  EXPECT_EQ(before, InstalledFiles(home));
  EXPECT_TRUE(StagingLeftovers(home.path()).empty());
  EXPECT_EQ(recorded, ReadWholeFile(settings));
}
