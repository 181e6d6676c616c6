// The program's installer: installs a Windows Installer package (.msi) for the
// current user, the way `MsiInstallProductA` does on Windows.
//
// The package is opened, the properties of the command text are applied, its
// folders are resolved (the default root is $XDG_DATA_HOME/Morvend, else
// ~/.local/share/Morvend; TARGETDIR=... or INSTALLDIR=... move it), the files of
// its cabinets are extracted into a staging folder and then moved into place. An
// installation is all or nothing: on any failure, or when the operator cancels,
// every file already moved is taken back and earlier files are restored. An
// installed product of the same UpgradeCode (or ProductCode) is replaced: its
// files that the new version does not have are removed. The product is recorded
// in the settings store (see installed_products.h).
//
// A package given as an http:// or https:// address is downloaded first into the
// temporary folder.
//
// Threads: one installation at a time per process; the progress callback runs on
// the calling thread. The program's window and its command-line twin install
// through the same call, InstallProduct.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "util/status.h"

// The Windows Installer result codes the installer returns (as Status codes).
enum : long {
  kInstallSuccess = 0,
  kInstallUserExit = 1602,           // cancelled through the progress callback
  kInstallFailure = 1603,            // nothing was installed
  kInstallPackageOpenFailed = 1619,  // missing, empty path, unreadable, download failed
  kInstallPackageInvalid = 1620,     // not a Windows Installer package
  kInstallInvalidCommandLine = 1639  // the property text does not parse
};

// Where an installation stands, for a progress display.
struct InstallProgress {
  enum class Stage { kDownload, kInstall };
  Stage stage = Stage::kDownload;
  uint64_t done = 0;   // bytes downloaded, or bytes of files installed
  uint64_t total = 0;  // bytes expected; 0 while unknown
  int percent = -1;    // 0..100; -1 while the total is unknown

  // The state at `done` of `total` bytes. An installation with nothing to
  // extract is complete (100); a download of unknown size is not (-1).
  static InstallProgress At(Stage stage, uint64_t done, uint64_t total);
};

// Called while the package downloads and while its files are installed. Returning
// false cancels the installation, which then ends with kInstallUserExit and
// leaves nothing installed.
typedef std::function<bool(const InstallProgress&)> InstallProgressCallback;

// Installs `package` (a path or an http(s) address) with the property text
// `command_line`, the way MsiInstallProductA does. Ok, or an error whose code is
// one of the codes above and whose message says what went wrong, for a log.
// `progress` may be empty.
Status InstallProduct(const std::string& package, const std::string& command_line,
                      const InstallProgressCallback& progress);
