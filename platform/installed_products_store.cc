// The record of installed products in the settings store:
//   [HKEY_CURRENT_USER\Software\Morvend\Installer\Products\{ProductCode}]
//   "ProductName", "ProductVersion", "UpgradeCode", "InstallFolder"
//   [HKEY_CURRENT_USER\Software\Morvend\Installer\Products\{ProductCode}\Files]
//   "000001"="/path/of/the/first/file", ...
#include <cstdio>

#include "platform/installed_products.h"
#include "platform/settings_store.h"

namespace {

const char kProductsKey[] = "Software\\Morvend\\Installer\\Products";

std::string ProductKey(const std::string& product_code) {
  return std::string(kProductsKey) + "\\" + product_code;
}

std::string FileValueName(size_t index) {
  char name[24];
  snprintf(name, sizeof name, "%06zu", index + 1);
  return name;
}

std::string StringValue(const RegValues& values, const char* name) {
  auto value = values.find(name);
  return value != values.end() && value->second.type == RegValue::Type::kString ? value->second.text
                                                                                : "";
}

}  // namespace

std::vector<InstalledProduct> ReadInstalledProducts() {
  std::vector<InstalledProduct> products;
  RegTree tree = SettingsStore(RegistryRoot::kCurrentUser).Load();
  for (const std::string& code : RegChildKeyNames(tree, kProductsKey)) {
    InstalledProduct product;
    product.product_code = code;
    auto key = tree.find(ProductKey(code));
    if (key != tree.end()) {
      product.name = StringValue(key->second, "ProductName");
      product.version = StringValue(key->second, "ProductVersion");
      product.upgrade_code = StringValue(key->second, "UpgradeCode");
      product.install_folder = StringValue(key->second, "InstallFolder");
    }
    auto files = tree.find(ProductKey(code) + "\\Files");
    // Numbered names with leading zeros keep the files in installation order.
    if (files != tree.end())
      for (const auto& [name, value] : files->second)
        if (value.type == RegValue::Type::kString) product.files.push_back(value.text);
    products.push_back(std::move(product));
  }
  return products;
}

Status RecordInstalledProduct(const InstalledProduct& product) {
  return SettingsStore(RegistryRoot::kCurrentUser).Update(
      [&](RegTree& tree) {
        RegEraseKeyTree(&tree, ProductKey(product.product_code));
        RegValues& values = tree[ProductKey(product.product_code)];
        values["ProductName"] = RegValue::String(product.name);
        values["ProductVersion"] = RegValue::String(product.version);
        values["UpgradeCode"] = RegValue::String(product.upgrade_code);
        values["InstallFolder"] = RegValue::String(product.install_folder);
        RegValues& files = tree[ProductKey(product.product_code) + "\\Files"];
        for (size_t i = 0; i < product.files.size(); ++i)
          files[FileValueName(i)] = RegValue::String(product.files[i]);
        return true;
      });
}

Status ForgetInstalledProduct(const std::string& product_code) {
  return SettingsStore(RegistryRoot::kCurrentUser).Update(
      [&](RegTree& tree) {
        if (!RegKeyExists(tree, ProductKey(product_code))) return false;
        RegEraseKeyTree(&tree, ProductKey(product_code));
        return true;
      });
}
