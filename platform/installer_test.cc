#include "platform/installer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/install_transaction.h"
#include "platform/installed_products.h"
#include "tests/e2e/lighttpd_server.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

const std::string kPackages = ZORM_TEST_PACKAGES;
const std::string kSources = ZORM_TEST_PACKAGE_SOURCES;
const std::string kV1 = kPackages + "/abc_v1.msi";
const std::string kV2 = kPackages + "/abc_v2.msi";
const char kV1Code[] = "{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1001}";
const char kV2Code[] = "{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1002}";

std::string Source(const std::string& name) { return ReadWholeFile(kSources + "/" + name); }
const Files kV1Files = {{"alpha.txt", Source("v1/alpha.txt")},
                        {"doc/beta.txt", Source("v1/beta.txt")}};
const Files kV2Files = {{"alpha.txt", Source("v2/alpha.txt")},
                        {"gamma.txt", Source("v2/gamma.txt")}};

// Every file below `folder` (relative to it, with its contents), and every staging
// folder an installation left there (as "staging:<path>").
Files FilesBelow(const std::string& folder) {
  Files files;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end;
       it.increment(ignored)) {
    if (IsStagingFolderName(it->path().filename().string()))
      files["staging:" + it->path().string()];
    if (it->is_regular_file())
      files[fs::relative(it->path(), folder).string()] = ReadWholeFile(it->path());
  }
  return files;
}

// What installations put anywhere in the test's home, settings and temporary folder aside.
Files InstalledFiles(const ScopedTestHome& home) {
  Files files = FilesBelow(home.path());
  std::erase_if(files, [](const auto& f) {
    return f.first.starts_with("config/") || f.first.starts_with("tmp/");
  });
  return files;
}

std::vector<InstalledProduct> Recorded() {
  std::vector<InstalledProduct> products;
  std::string error;
  EXPECT_TRUE(ReadInstalledProducts(&products, &error)) << error;
  return products;
}

InstallResult Install(const std::string& package, const std::string& command_line = "",
                      const InstallProgressCallback& progress = {}) {
  return InstallProduct(package, command_line, progress);
}

// `text` with every "@" replaced by the test home's path.
std::string Expand(std::string text, const ScopedTestHome& home) {
  for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, home.path());
  return text;
}

}  // namespace

TEST(InstallerTest, InstallRecordsTheProductInTheUsersSettingsFile) {
  ScopedTestHome home;
  ASSERT_EQ(kInstallSuccess, Install(kV1).code);
  const std::string folder = home.data_home() + "/Morvend/Calvaro ABC";
  const std::string key =
      "[HKEY_CURRENT_USER\\Software\\Morvend\\Installer\\Products\\" + std::string(kV1Code);
  EXPECT_EQ("Windows Registry Editor Version 5.00\n\n" + key + "]\n\"InstallFolder\"=\"" + folder +
                "\"\n\"ProductName\"=\"Calvaro ABC\"\n\"ProductVersion\"=\"1.0.0\"\n"
                "\"UpgradeCode\"=\"{0E5A7C3B-52D1-4B8E-A7F0-9C4D2E6B7A11}\"\n\n" +
                key + "\\Files]\n\"000001\"=\"" + folder + "/alpha.txt\"\n\"000002\"=\"" + folder +
                "/doc/beta.txt\"\n",
            ReadWholeFile(home.config_home() + "/Morvend/registry.reg"));
}

TEST(InstallerTest, InstallsIntoTheFolderPropertiesOrXdgDataHomeGiveReplacingEarlierVersions) {
  struct Case {
    std::string first, package, command_line;  // "@" stands for the test's home folder
    const char* data_home;                     // null: unset
    std::string folder;
    Files files;
  };
  const Case cases[] = {
      {"", kV1, "", "@/data", "@/data/Morvend/Calvaro ABC", kV1Files},
      {"", kV1, "  INSTALLDIR=\"@/My Programs/abc\"  ", "@/data", "@/My Programs/abc", kV1Files},
      {"", kV1, "TARGETDIR=@/root", "@/data", "@/root/Calvaro ABC", kV1Files},
      {"", kV1, "", nullptr, "@/.local/share/Morvend/Calvaro ABC", kV1Files},
      {"", kV1, "", "relative/data", "@/.local/share/Morvend/Calvaro ABC", kV1Files},
      {kV1, kV2, "", "@/data", "@/data/Morvend/Calvaro ABC", kV2Files},
      {kV2, kV2, "", "@/data", "@/data/Morvend/Calvaro ABC", kV2Files},
      {kV1, kV2, "INSTALLDIR=@/moved", "@/data", "@/moved", kV2Files},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first + " then " + c.package + " " + c.command_line);
    ScopedTestHome home;
    home.SetEnv("XDG_DATA_HOME", c.data_home ? Expand(c.data_home, home).c_str() : nullptr);
    if (!c.first.empty()) ASSERT_EQ(kInstallSuccess, Install(c.first).code);
    InstallResult result = Install(c.package, Expand(c.command_line, home));
    ASSERT_EQ(kInstallSuccess, result.code) << result.error;
    const std::string folder = Expand(c.folder, home);
    EXPECT_EQ(c.files, FilesBelow(folder));
    EXPECT_EQ(c.files.size(), InstalledFiles(home).size());
    if (c.files == kV2Files) EXPECT_FALSE(fs::exists(folder + "/doc"));  // beta.txt's folder
    std::vector<InstalledProduct> products = Recorded();
    ASSERT_EQ(1u, products.size());
    EXPECT_EQ(c.files == kV1Files ? kV1Code : kV2Code, products[0].product_code);
    EXPECT_EQ(folder, products[0].install_folder);
  }
}

TEST(InstallerTest, FailuresInstallNothingAndPutTheEarlierVersionBack) {
  ScopedTestHome outer;
  const std::string v2 = ReadWholeFile(kV2);
  const size_t cabinet = v2.find("MSCF");
  auto damaged = [&](const char* name, size_t offset, size_t count) {
    std::string bytes = v2;
    for (size_t i = 0; i < count; ++i) bytes[cabinet + offset + i] ^= 0x5A;
    EXPECT_TRUE(WriteWholeFile(outer.path() + name, bytes));
    return outer.path() + name;
  };
  const auto* cab = reinterpret_cast<const unsigned char*>(v2.data() + cabinet);
  // The first data block's compressed bytes follow its checksum and two sizes.
  const size_t first_data = (cab[36] | cab[37] << 8 | cab[38] << 16 | uint32_t(cab[39]) << 24) + 8;
  ASSERT_TRUE(WriteWholeFile(outer.path() + "/notes.msi",
                             "This is a text file, not an installation package.\n"));
  ASSERT_TRUE(WriteWholeFile(outer.path() + "/truncated.msi", ReadWholeFile(kV1).substr(0, 3000)));

  enum Before { kNothing, kV1Installed, kV1WithFolderInGammasPlace, kV1WithReadOnlySettings };
  struct Case {
    Before before;
    std::string package, command_line;
    unsigned code;
    const char* error_part;
  };
  const Case cases[] = {
      {kNothing, kV1, "INSTALLDIR", kInstallInvalidCommandLine, ""},
      {kNothing, "", "", kInstallPackageOpenFailed, ""},
      {kNothing, outer.path() + "/missing.msi", "", kInstallPackageOpenFailed, ""},
      {kNothing, outer.path(), "", kInstallPackageOpenFailed, ""},
      {kNothing, outer.path() + "/notes.msi", "", kInstallPackageInvalid, ""},
      {kNothing, outer.path() + "/truncated.msi", "", kInstallPackageInvalid, ""},
      {kNothing, kSources + "/reader_crash.msi", "", kInstallPackageInvalid,
       ""},  // libmsi crashes on it
      {kNothing, kV1, "INSTALLDIR=relative/abc", kInstallFailure, ""},
      {kNothing, damaged("/signature.msi", 0, 4), "", kInstallFailure, "cabinet"},
      {kV1Installed, damaged("/data.msi", first_data + 4, 6), "", kInstallFailure, "cabinet"},
      {kV1WithFolderInGammasPlace, kV2, "", kInstallFailure, "gamma.txt"},
      {kV1WithReadOnlySettings, kV2, "", kInstallFailure, "record"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.package + " " + c.command_line);
    ScopedTestHome home;
    const std::string settings = home.config_home() + "/Morvend/registry.reg";
    if (c.before != kNothing) ASSERT_EQ(kInstallSuccess, Install(kV1).code);
    if (c.before == kV1WithFolderInGammasPlace)
      ASSERT_TRUE(
          fs::create_directories(home.data_home() + "/Morvend/Calvaro ABC/gamma.txt/inside"));
    if (c.before == kV1WithReadOnlySettings) ASSERT_EQ(0, chmod(settings.c_str(), 0444));
    const Files before = InstalledFiles(home);
    const std::string recorded = ReadWholeFile(settings);

    InstallResult result = Install(c.package, c.command_line);
    EXPECT_EQ(c.code, result.code);
    EXPECT_NE(std::string::npos, result.error.find(c.error_part)) << result.error;
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(before, InstalledFiles(home));
    EXPECT_EQ(recorded, ReadWholeFile(settings));
  }
}

TEST(InstallerTest, DownloadsHttpPackagesAndCancelAtAnyStageInstallsNothing) {
  ScopedTestHome outer;
  LighttpdServer server({kPackages, "", {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  using Stage = InstallProgress::Stage;
  struct Case {
    std::string package;
    std::optional<Stage> cancel_at;
    unsigned code;
    const char* error_part;
  };
  const Case cases[] = {
      {server.base_url() + "/abc_v1.msi", std::nullopt, kInstallSuccess, ""},
      {server.base_url() + "/abc_v1.msi", Stage::kDownload, kInstallUserExit, ""},
      {server.base_url() + "/abc_v1.msi", Stage::kInstall, kInstallUserExit, ""},
      {kV1, Stage::kInstall, kInstallUserExit, ""},
      {server.base_url() + "/missing.msi", std::nullopt, kInstallPackageOpenFailed, "404"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.package);
    ScopedTestHome home;
    InstallProgress last_download;
    int install_reports = 0;
    InstallResult result = Install(c.package, "", [&](const InstallProgress& progress) {
      if (progress.stage == Stage::kDownload)
        last_download = progress;
      else
        ++install_reports;
      return progress.stage != c.cancel_at;
    });
    EXPECT_EQ(c.code, result.code) << result.error;
    EXPECT_NE(std::string::npos, result.error.find(c.error_part)) << result.error;
    EXPECT_EQ(0u, FilesBelow(home.temp_dir()).size());  // no downloaded package left
    if (c.code != kInstallSuccess) {
      EXPECT_TRUE(InstalledFiles(home).empty());
      EXPECT_TRUE(Recorded().empty());
      continue;
    }
    EXPECT_EQ(kV1Files, FilesBelow(home.data_home() + "/Morvend/Calvaro ABC"));
    EXPECT_EQ(fs::file_size(kV1), last_download.done);
    EXPECT_EQ(fs::file_size(kV1), last_download.total);
    EXPECT_EQ(100, last_download.percent);
    EXPECT_GT(install_reports, 0);
  }
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
