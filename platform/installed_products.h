// The record of the products the installer has installed for this user, kept in
// the settings store (settings_store.h) under
// HKEY_CURRENT_USER\Software\Morvend\Installer\Products\{ProductCode}, with
// the installed files in its subkey "Files". Safe between processes: each change
// is one locked update of the store.
#pragma once

#include <string>
#include <vector>

struct InstalledProduct {
  std::string product_code;        // "{GUID}" as in the package
  std::string name;                // ProductName
  std::string version;             // ProductVersion
  std::string upgrade_code;        // "{GUID}"; empty when the package has none
  std::string install_folder;      // absolute path
  std::vector<std::string> files;  // absolute paths of the files installed
};

// Reads every recorded product into `products`. Returns false and fills `error`
// when the store cannot be read.
bool ReadInstalledProducts(std::vector<InstalledProduct>* products, std::string* error);

// Records `product`, replacing an earlier record of its ProductCode. Returns
// false and fills `error` when the store cannot be written; then the store is
// unchanged.
bool RecordInstalledProduct(const InstalledProduct& product, std::string* error);

// Removes the record of `product_code` (no record is not an error). Returns false
// and fills `error` when the store cannot be written.
bool ForgetInstalledProduct(const std::string& product_code, std::string* error);
