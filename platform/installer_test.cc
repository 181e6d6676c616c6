#include "platform/installer.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/install_transaction.h"
#include "platform/installed_products.h"
#include "tests/e2e/lighttpd_server.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

const std::string kPackages = ZORM_TEST_PACKAGES;
const std::string kSources = ZORM_TEST_PACKAGE_SOURCES;
const std::string kV1 = kPackages + "/abc_v1.msi";
const std::string kV2 = kPackages + "/abc_v2.msi";

std::string Source(const std::string& name) { return ReadWholeFile(kSources + "/" + name); }
const Files kV1Files = {{"alpha.txt", Source("v1/alpha.txt")},
                        {"doc/beta.txt", Source("v1/beta.txt")}};
const Files kV2Files = {{"alpha.txt", Source("v2/alpha.txt")},
                        {"gamma.txt", Source("v2/gamma.txt")}};

// Every file below `folder` (relative to it, with its contents) but a test home's settings
// and temporary folder, and every staging folder an installation left (as "staging:<path>").
Files FilesBelow(const std::string& folder) {
  Files files;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end;
       it.increment(ignored)) {
    const std::string name = fs::relative(it->path(), folder).string();
    if (IsStagingFolderName(it->path().filename().string())) files["staging:" + name];
    if (it->is_regular_file() && !name.starts_with("config/") && !name.starts_with("tmp/"))
      files[name] = ReadWholeFile(it->path());
  }
  return files;
}

// Through the installer's one entry point, with a progress callback as the program sets.
TEST(InstallerTest, InstallsFromFilesOrHttpWhereXdgDataHomeOrPropertiesSayReplacingOldVersions) {
  ScopedTestHome outer;
  LighttpdServer server({kPackages, "", {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  const std::string web_v2 = server.base_url() + "/abc_v2.msi";
  InstallProgress last_download;
  const InstallProgressCallback progress = [&](const InstallProgress& p) {
    if (p.stage == InstallProgress::Stage::kDownload) last_download = p;
    return true;
  };
  struct Case {
    std::string first, package;
    bool installdir_property;  // the folder given as INSTALLDIR="..."
    const char* data_home;     // "": as the test home sets it; null: unset
    std::string folder;        // below the test's home
    Files files;
  };
  const Case cases[] = {
      {"", kV1, false, "", "data/Morvend/Calvaro ABC", kV1Files},
      {"", kV1, true, "", "My Programs/abc", kV1Files},
      {"", kV1, false, nullptr, ".local/share/Morvend/Calvaro ABC", kV1Files},
      {kV1, web_v2, false, "", "data/Morvend/Calvaro ABC", kV2Files},
      {kV1, kV2, true, "", "moved", kV2Files},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first + " then " + c.package + " into " + c.folder);
    ScopedTestHome home;
    if (!c.data_home || *c.data_home) home.SetEnv("XDG_DATA_HOME", c.data_home);
    const std::string folder = home.path() + "/" + c.folder;
    ASSERT_TRUE(c.first.empty() || InstallProduct(c.first, "", {}).ok());
    last_download = {};
    const std::string properties = c.installdir_property ? "  INSTALLDIR=\"" + folder + "\"  " : "";
    const Status installed = InstallProduct(c.package, properties, progress);
    ASSERT_TRUE(installed.ok()) << installed.message();
    EXPECT_EQ(c.files, FilesBelow(folder));
    EXPECT_EQ(c.files.size(), FilesBelow(home.path()).size());
    EXPECT_FALSE(c.files == kV2Files && fs::exists(folder + "/doc"));  // beta.txt's folder
    EXPECT_TRUE(FilesBelow(home.temp_dir()).empty());                  // no downloaded package left
    const uint64_t size = c.package == web_v2 ? fs::file_size(kV2) : 0;
    EXPECT_EQ(std::make_tuple(size, size, size ? 100 : -1),
              std::make_tuple(last_download.done, last_download.total, last_download.percent));
    const std::vector<InstalledProduct> products = ReadInstalledProducts();
    ASSERT_EQ(1u, products.size());
    EXPECT_EQ(c.files == kV1Files ? "1.0.0" : "2.0.0", products[0].version);
    EXPECT_EQ(folder, products[0].install_folder);
  }
}

TEST(InstallerTest, FailuresAndCancelsInstallNothingAndPutTheEarlierVersionBack) {
  ScopedTestHome outer;
  LighttpdServer server({kPackages, "", {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  const std::string web_v1 = server.base_url() + "/abc_v1.msi";
  // Build 2 with bytes flipped in its cabinet's first data block, past checksum and sizes.
  std::string damaged = ReadWholeFile(kV2);
  auto* cab = reinterpret_cast<unsigned char*>(&damaged[damaged.find("MSCF")]);
  for (int i = 4; i < 10; ++i) cab[(cab[36] | cab[37] << 8 | cab[38] << 16) + 8 + i] ^= 0x5A;
  ASSERT_TRUE(WriteWholeFile(outer.path() + "/damaged.msi", damaged));

  CannedHttpServer silent(CannedHttpServer::Mode::kSilent);
  CannedHttpServer trickle(CannedHttpServer::Mode::kTrickle, "HTTP/1.1 200 OK\r\n\r\n" + std::string(99999, 'x'));
  outer.SetEnv("ZORMSTALLTIMEOUTMS", "300");
  // A temporary folder too small for the package, in a mount of this process's own.
  const bool can_mount = unshare(CLONE_NEWNS) == 0 &&
                         mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  const std::string fifo = outer.path() + "/fifo.msi";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));

  enum Before {
    kNothing,
    kV1Installed,
    kV1WithFolderInGammasPlace,
    kV1WithReadOnlySettings,
    kDocLinkedOutOfTheRoot, kSmallTemporaryFolder
  };
  using Stage = InstallProgress::Stage;
  struct Case {
    Before before;
    std::string package, command_line;
    long code;
    const char* error_part = "";
    std::optional<Stage> cancel_at = std::nullopt;
    const char* edit = nullptr;  // made to build 1 with msibuild; "~" is the test's home
  };
  const Case cases[] = {
      {kNothing, kV1, "INSTALLDIR", kInstallInvalidCommandLine},
      {kNothing, "", "", kInstallPackageOpenFailed},
      {kNothing, server.base_url() + "/missing.msi", "", kInstallPackageOpenFailed, "404"},
      {kNothing, kSources + "/v1/alpha.txt", "", kInstallPackageInvalid,
       "alpha.txt is not an installation package"},
      {kNothing, kSources + "/reader_crash.msi", "", kInstallPackageInvalid},  // crashes libmsi
      {kNothing, kV1, "INSTALLDIR=relative/abc", kInstallFailure},
      {kV1Installed, outer.path() + "/damaged.msi", "", kInstallFailure, "cabinet"},
      {kV1WithFolderInGammasPlace, kV2, "", kInstallFailure, "gamma.txt"},
      {kV1WithReadOnlySettings, kV2, "", kInstallFailure, "record"},
      {kNothing, web_v1, "", kInstallUserExit, "", Stage::kDownload},
      {kV1Installed, kV2, "", kInstallUserExit, "", Stage::kInstall},
      {kNothing, "edited", "", kInstallFailure, "DocFolder (~) lies outside", {}, 
       "INSERT INTO `Property` (`Property`, `Value`) VALUES ('DocFolder', '~')"},
      {kNothing, "edited", "", kInstallFailure,
       "AlphaFile in the cabinet #abc.cab is larger than its declared 3 bytes", {},
       "UPDATE `File` SET `FileSize` = 3 WHERE `File` = 'AlphaFile'"},
      {kDocLinkedOutOfTheRoot, kV1, "", kInstallFailure,
       "DocFolder (~/data/Morvend/Calvaro ABC/doc) leads out"},
      {kNothing, fifo, "", kInstallPackageOpenFailed, "fifo.msi is not a file"},
      {kNothing, "http://" + silent.host_port() + "/abc.msi", "", kInstallPackageOpenFailed,
       "The operation timed out"},
      {kNothing, "http://" + trickle.host_port() + "/abc.msi", "", kInstallPackageOpenFailed,
       "The operation timed out"},
      {kSmallTemporaryFolder, web_v1, "", kInstallPackageOpenFailed,
       "not enough free space for the package"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.package + " " + c.command_line);
    ScopedTestHome home;
    if (c.before == kSmallTemporaryFolder && !(can_mount && mount("small", home.temp_dir().c_str(), "tmpfs", 0, "size=4k") == 0))
      continue;  // no tmpfs can be mounted here
    const std::string settings = home.config_home() + "/Morvend/registry.reg";
    ASSERT_TRUE(c.before == kNothing || c.before == kDocLinkedOutOfTheRoot ||
                c.before == kSmallTemporaryFolder ||
                InstallProduct(kV1, "", {}).ok());
    ASSERT_TRUE(c.before != kV1WithFolderInGammasPlace ||
                fs::create_directories(home.data_home() + "/Morvend/Calvaro ABC/gamma.txt/x"));
    ASSERT_TRUE(c.before != kV1WithReadOnlySettings || chmod(settings.c_str(), 0444) == 0);
    if (c.before == kDocLinkedOutOfTheRoot &&
        fs::create_directories(home.path() + "/elsewhere") &&
        fs::create_directories(home.data_home() + "/Morvend/Calvaro ABC"))
      fs::create_directory_symlink(home.path() + "/elsewhere",
                                   home.data_home() + "/Morvend/Calvaro ABC/doc");
    auto with_home = [&](std::string text) {
      for (size_t at; (at = text.find('~')) != std::string::npos;) text.replace(at, 1, home.path());
      return text;
    };
    std::string package = c.package;
    if (c.edit) {
      package = home.path() + "/edited.msi";
      fs::copy_file(kV1, package);
      const ProgramRun edit = RunProgram({ZORM_MSIBUILD, package, "-q", with_home(c.edit)});
      ASSERT_EQ(0, edit.status) << edit.err;
    }
    const Files before = FilesBelow(home.path());
    const std::string recorded = ReadWholeFile(settings);

    const Status result = InstallProduct(
        package, c.command_line,
        [&](const InstallProgress& progress) { return progress.stage != c.cancel_at; });
    EXPECT_EQ(c.code, result.code());
    EXPECT_NE(std::string::npos, result.message().find(with_home(c.error_part)))
        << result.message();
    EXPECT_EQ(before, FilesBelow(home.path()));
    EXPECT_EQ(recorded, ReadWholeFile(settings));
    EXPECT_TRUE(FilesBelow(home.temp_dir()).empty());  // no downloaded package left
    if (c.before == kSmallTemporaryFolder) umount2(home.temp_dir().c_str(), MNT_DETACH);
  }
}
