// Arbitrary bytes opened as an installation package: the installer must answer
// with a result code, never crash, and leave no staging folder behind.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/install_transaction.h"
#include "platform/installer.h"

namespace {

// A private folder for the whole run: installs, the record and the package file.
const std::string& Home() {
  // Never destroyed: the exit handler below still needs it.
  static const std::string& home = *new std::string([] {
    std::string pattern = "/tmp/msi-package-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) abort();
    setenv("XDG_DATA_HOME", (pattern + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    setenv("TMPDIR", pattern.c_str(), 1);
    atexit([] { RemoveTree(Home()); });
    return pattern;
  }());
  return home;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string package = Home() + "/package.msi";
  FILE* file = fopen(package.c_str(), "wb");
  if (file == nullptr) abort();
  if (size) fwrite(data, 1, size, file);
  fclose(file);

  Status result = InstallProduct(package, "INSTALLDIR=" + Home() + "/out", {});
  switch (result.code()) {
    case kInstallSuccess:
    case kInstallFailure:
    case kInstallPackageInvalid:
      break;
    default:
      abort();
  }
  // A staging folder would sit in the nearest existing folder above the install.
  if (DIR* dir = opendir(Home().c_str())) {
    while (dirent* entry = readdir(dir))
      if (IsStagingFolderName(entry->d_name)) abort();
    closedir(dir);
  }
  for (const char* folder : {"/out", "/data", "/config"}) RemoveTree(Home() + folder);
  return 0;
}
