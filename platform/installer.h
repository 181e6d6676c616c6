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
// the calling thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The Windows Installer result codes the installer returns.
enum : unsigned {
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
};

// Called while the package downloads and while its files are installed. Returning
// false cancels the installation, which then ends with kInstallUserExit and
// leaves nothing installed.
typedef std::function<bool(const InstallProgress&)> InstallProgressCallback;

struct InstallResult {
  unsigned code = kInstallFailure;  // one of the codes above
  std::string error;                // what went wrong, for a log; empty on success
};

// Installs `package` (a path or an http(s) address) with the property text
// `command_line`. `progress` may be empty.
InstallResult InstallProduct(const std::string& package, const std::string& command_line,
                             const InstallProgressCallback& progress);

// Sets the callback that MsiInstallProductA reports to (empty: none) and returns
// the one it replaces. A progress window sets itself here while it is shown.
InstallProgressCallback SetInstallProgressCallback(InstallProgressCallback callback);

// The Windows Installer call: installs `szPackagePath` with the property text
// `szCommandLine` (either may be null, read as empty) and returns the result
// code, reporting progress to the callback set above.
unsigned MsiInstallProductA(const char* szPackagePath, const char* szCommandLine);
