// The installer: the package is read in a child process (see
// msi_package_reader.h); this side places the files, records the product and
// replaces the earlier version.
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "platform/install_directories.h"
#include "platform/install_properties.h"
#include "platform/install_transaction.h"
#include "platform/installed_products.h"
#include "platform/installer.h"
#include "platform/isolated_run.h"
#include "platform/msi_package_reader.h"
#include "platform/package_download.h"

namespace {

InstallResult Fail(unsigned code, std::string error) {
  return InstallResult{code, std::move(error)};
}
InstallResult Ok() { return InstallResult{kInstallSuccess, ""}; }

std::string TempFolder() {
  const char* tmp = getenv("TMPDIR");
  std::string folder = tmp && tmp[0] ? tmp : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// How long the package reader may stay silent before it counts as hung.
const int kReaderSilenceLimitSeconds = 120;

InstallResult ResultOf(const ChildMessage& message) {
  return Fail(static_cast<unsigned>(strtoul(message.fields[0].c_str(), nullptr, 10)),
              message.fields[1]);
}

// Removes the files of an earlier product that the new one does not have, and
// the folders that this leaves empty inside its install folder.
void RemoveLeftovers(const InstalledProduct& old, const std::set<std::string>& keep) {
  for (const std::string& path : old.files) {
    if (keep.count(path) || path.empty() || path[0] != '/') continue;
    unlink(path.c_str());
    for (std::string folder = ParentFolder(path);
         folder != "/" && IsWithinFolder(folder, old.install_folder) && rmdir(folder.c_str()) == 0;
         folder = ParentFolder(folder)) {
    }
  }
}

InstallResult InstallLocalPackage(const std::string& path,
                                  const InstallProperties& command_properties,
                                  const InstallProgressCallback& progress) {
  InstallTransaction transaction;
  ChildMessage outcome;
  InstallProgress state;
  state.stage = InstallProgress::Stage::kInstall;
  auto receive = [&](const ChildMessage& message) {
    if (message.type == 'S' && message.fields.size() == 1) {
      transaction.Adopt(message.fields[0]);
    } else if (message.type == 'P' && message.fields.size() == 2) {
      state.done = strtoull(message.fields[0].c_str(), nullptr, 10);
      state.total = strtoull(message.fields[1].c_str(), nullptr, 10);
      state.percent = state.total ? static_cast<int>(state.done * 100 / state.total) : 100;
      return !progress || progress(state);
    } else if (message.type == 'R' && message.fields.size() >= 2) {
      outcome = message;
    }
    return true;
  };
  // While the package is opened, before any file comes out, the last state is
  // repeated so that a progress window stays responsive and can cancel.
  auto idle = [&] { return !progress || progress(state); };
  std::string why;
  IsolatedEnd end = RunIsolated(
      [&](const ChildMessageSender& send) { ReadMsiPackage(path, command_properties, send); },
      receive, idle, kReaderSilenceLimitSeconds, &why);
  if (end == IsolatedEnd::kStopped) return Fail(kInstallUserExit, "cancelled");
  if (end == IsolatedEnd::kDied || outcome.type != 'R')
    return Fail(kInstallPackageInvalid,
                path + " cannot be read as an installation package: " + why);
  InstallResult read = ResultOf(outcome);
  if (read.code != kInstallSuccess) return read;  // the transaction removes the staging folder
  const std::vector<std::string>& fields = outcome.fields;
  if (fields.size() < 7 || (fields.size() - 7) % 2 != 0)
    return Fail(kInstallFailure, "the package reader answered incompletely");

  InstalledProduct product;
  product.product_code = fields[2];
  product.name = fields[3];
  product.version = fields[4];
  product.upgrade_code = fields[5];
  product.install_folder = fields[6];

  std::vector<InstalledProduct> installed, replaced;
  if (!ReadInstalledProducts(&installed, &why))
    return Fail(kInstallFailure, "cannot read the installed products: " + why);
  for (const InstalledProduct& old : installed)
    if (old.product_code == product.product_code ||
        (!product.upgrade_code.empty() && old.upgrade_code == product.upgrade_code))
      replaced.push_back(old);

  for (size_t i = 7; i < fields.size(); i += 2) {
    if (!transaction.MoveIntoPlace(fields[i], fields[i + 1], &why))
      return Fail(kInstallFailure, why);
    product.files.push_back(fields[i + 1]);
  }
  if (!RecordInstalledProduct(product, &why))
    return Fail(kInstallFailure, "cannot record the installed product: " + why);
  transaction.Commit();

  std::set<std::string> keep(product.files.begin(), product.files.end());
  for (const InstalledProduct& old : replaced) {
    RemoveLeftovers(old, keep);
    // The new record is in place; a stale record of another product code is
    // only untidy, so its failure does not undo the installation.
    if (old.product_code != product.product_code) ForgetInstalledProduct(old.product_code, &why);
  }
  return Ok();
}

InstallProgressCallback& GlobalProgressCallback() {
  static InstallProgressCallback callback;
  return callback;
}

}  // namespace

InstallResult InstallProduct(const std::string& package, const std::string& command_line,
                             const InstallProgressCallback& progress) {
  InstallProperties properties;
  std::string why;
  if (!ParseInstallProperties(command_line, &properties, &why))
    return Fail(kInstallInvalidCommandLine, "the property text does not parse: " + why);
  if (package.empty()) return Fail(kInstallPackageOpenFailed, "no package was given");
  if (!IsPackageUrl(package)) return InstallLocalPackage(package, properties, progress);

  std::string download = TempFolder() + "/morvend-package-XXXXXX";
  int fd = mkstemp(download.data());
  if (fd < 0)
    return Fail(kInstallPackageOpenFailed,
                "cannot create a file for the download in " + TempFolder());
  close(fd);

  DownloadProgressCallback report = [&progress](uint64_t done, uint64_t total) {
    if (!progress) return true;
    InstallProgress state;
    state.stage = InstallProgress::Stage::kDownload;
    state.done = done;
    state.total = total;
    state.percent = total ? static_cast<int>(done * 100 / total) : -1;
    return progress(state);
  };
  switch (DownloadPackage(package, download, report, &why)) {
    case DownloadOutcome::kCancelled:
      return Fail(kInstallUserExit, "cancelled");
    case DownloadOutcome::kFailed:
      return Fail(kInstallPackageOpenFailed, why);
    case DownloadOutcome::kDone:
      break;
  }
  InstallResult result = InstallLocalPackage(download, properties, progress);
  unlink(download.c_str());
  return result;
}

InstallProgressCallback SetInstallProgressCallback(InstallProgressCallback callback) {
  std::swap(GlobalProgressCallback(), callback);
  return callback;
}

unsigned MsiInstallProductA(const char* szPackagePath, const char* szCommandLine) {
  return InstallProduct(szPackagePath ? szPackagePath : "", szCommandLine ? szCommandLine : "",
                        GlobalProgressCallback())
      .code;
}
