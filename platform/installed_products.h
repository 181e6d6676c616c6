// The record of the products the installer has installed for this user, kept in
// the settings store (settings_store.h) under
// HKEY_CURRENT_USER\Software\Morvend\Installer\Products\{ProductCode}, with
// the installed files in its subkey "Files". Safe between processes: each change
// is one locked update of the store.
#pragma once

#include <string>
#include <vector>

#include "util/status.h"

struct InstalledProduct {
  std::string product_code;        // "{GUID}" as in the package
  std::string name;                // ProductName
  std::string version;             // ProductVersion
  std::string upgrade_code;        // "{GUID}"; empty when the package has none
  std::string install_folder;      // absolute path
  std::vector<std::string> files;  // absolute paths of the files installed
};

// Every recorded product. A store that cannot be read reads as empty (see
// settings_store.h).
std::vector<InstalledProduct> ReadInstalledProducts();

// Records `product`, replacing an earlier record of its ProductCode. On an error
// the store is unchanged.
Status RecordInstalledProduct(const InstalledProduct& product);

// Removes the record of `product_code` (no record is not an error).
Status ForgetInstalledProduct(const std::string& product_code);
