// The installer: the package is read in a child process (see
// msi_package_reader.h); this side places the files, records the product and
// replaces the earlier version.
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "platform/file_io.h"
#include "platform/install_directories.h"
#include "platform/install_properties.h"
#include "platform/install_transaction.h"
#include "platform/installed_products.h"
#include "platform/installer.h"
#include "platform/interrupt_guard.h"
#include "platform/isolated_run.h"
#include "platform/msi_package_reader.h"
#include "platform/package_download.h"

namespace {

Status Fail(long code, std::string error) { return Status::Error(std::move(error), code); }

// How long the package reader may stay silent before it counts as hung.
const int kReaderSilenceLimitSeconds = 120;

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

Status InstallLocalPackage(const std::string& path, const InstallProperties& command_properties,
                           const InstallProgressCallback& progress) {
  InstallTransaction transaction;
  PackageReaderMessage outcome;
  bool answered = false;
  InstallProgress state;  // nothing known until the reader reports
  state.stage = InstallProgress::Stage::kInstall;
  auto receive = [&](const ChildMessage& raw) {
    PackageReaderMessage message;
    if (!DecodePackageReaderMessage(raw, &message)) return true;  // not the reader's: ignored
    switch (message.kind) {
      case PackageReaderMessage::Kind::kStaging:
        transaction.Adopt(message.staging);
        break;
      case PackageReaderMessage::Kind::kProgress:
        state = InstallProgress::At(InstallProgress::Stage::kInstall, message.done, message.total);
        return !InterruptGuard::Interrupted() && (!progress || progress(state));
      case PackageReaderMessage::Kind::kResult:
        outcome = std::move(message);
        answered = true;
        break;
    }
    return true;
  };
  // While the package is opened, before any file comes out, the last state is
  // repeated so that a progress window stays responsive and can cancel.
  auto idle = [&] { return !InterruptGuard::Interrupted() && (!progress || progress(state)); };
  Status run = RunIsolated(
      [&](const ChildMessageSender& send) {
        ReadMsiPackage(path, command_properties, [&send](const PackageReaderMessage& message) {
          send(EncodePackageReaderMessage(message));
        });
      },
      receive, idle, kReaderSilenceLimitSeconds);
  if (run.code() == kIsolatedStopped) return Fail(kInstallUserExit, "cancelled");
  if (!run.ok() || !answered)
    return Fail(kInstallPackageInvalid,
                path + " cannot be read as an installation package: " + run.message());
  if (!outcome.result.ok()) return outcome.result;  // the transaction removes the staging folder

  const PackageContents& contents = outcome.contents;
  InstalledProduct product;
  product.product_code = contents.product_code;
  product.name = contents.name;
  product.version = contents.version;
  product.upgrade_code = contents.upgrade_code;
  product.install_folder = contents.install_folder;

  std::vector<InstalledProduct> replaced;
  for (const InstalledProduct& old : ReadInstalledProducts())
    if (old.product_code == product.product_code ||
        (!product.upgrade_code.empty() && old.upgrade_code == product.upgrade_code))
      replaced.push_back(old);

  for (const StagedFile& file : contents.files) {
    Status moved = transaction.MoveIntoPlace(file.staged, file.destination, file.root);
    if (!moved.ok()) return Fail(kInstallFailure, moved.message());
    product.files.push_back(file.destination);
  }
  Status recorded = RecordInstalledProduct(product);
  if (!recorded.ok())
    return Fail(kInstallFailure, "cannot record the installed product: " + recorded.message());
  transaction.Commit();

  std::set<std::string> keep(product.files.begin(), product.files.end());
  for (const InstalledProduct& old : replaced) {
    RemoveLeftovers(old, keep);
    // The new record is in place; a stale record of another product code is
    // only untidy, so its failure does not undo the installation.
    if (old.product_code != product.product_code) ForgetInstalledProduct(old.product_code);
  }
  return Status::Ok();
}

}  // namespace

InstallProgress InstallProgress::At(Stage stage, uint64_t done, uint64_t total) {
  InstallProgress progress;
  progress.stage = stage;
  progress.done = done;
  progress.total = total;
  if (total != 0)
    progress.percent = static_cast<int>(done * 100 / total);
  else
    progress.percent = stage == Stage::kInstall ? 100 : -1;
  return progress;
}

Status InstallProduct(const std::string& package, const std::string& command_line,
                      const InstallProgressCallback& progress) {
  // On SIGINT or SIGTERM the work below unwinds as for a cancel, removing what
  // it made, and the signal is then raised again.
  InterruptGuard interrupts;
  // Downloads of runs that were killed outright are removed by the next one.
  static const char kDownloadPrefix[] = "morvend-package-";
  const std::string temp_folder = WithoutTrailingSlash(TempFolder());
  RemoveAbandoned(temp_folder, kDownloadPrefix);
  InstallProperties properties;
  Status parsed = ParseInstallProperties(command_line, &properties);
  if (!parsed.ok())
    return Fail(kInstallInvalidCommandLine,
                "the property text does not parse: " + parsed.message());
  if (package.empty()) return Fail(kInstallPackageOpenFailed, "no package was given");
  if (!IsPackageUrl(package)) return InstallLocalPackage(package, properties, progress);

  std::string download = OwnedTemporaryName(temp_folder, kDownloadPrefix, getpid());
  int fd = mkstemp(download.data());
  if (fd < 0)
    return Fail(kInstallPackageOpenFailed,
                "cannot create a file for the download in " + temp_folder);
  close(fd);

  DownloadProgressCallback report = [&progress](uint64_t done, uint64_t total) {
    return !InterruptGuard::Interrupted() &&
           (!progress ||
            progress(InstallProgress::At(InstallProgress::Stage::kDownload, done, total)));
  };
  Status downloaded = DownloadPackage(package, download, report);
  if (!downloaded.ok()) return downloaded;  // its codes are the installer's
  Status result = InstallLocalPackage(download, properties, progress);
  unlink(download.c_str());
  return result;
}
