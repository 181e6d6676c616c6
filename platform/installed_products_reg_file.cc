// The record of installed products in a file of its own, in the settings
// store's .reg text format: $XDG_CONFIG_HOME/Morvend/installed-products.reg.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/installed_products.h"

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";
const char kProductsKey[] = "HKEY_CURRENT_USER\\Software\\Morvend\\Installer\\Products\\";

std::string ConfigFolder() {
  const char* config = getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/Morvend";
  const char* home = getenv("HOME");
  return std::string(home ? home : "") + "/.config/Morvend";
}

std::string RecordPath() { return ConfigFolder() + "/installed-products.reg"; }

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// Reads `"Name"="value"` into name and value; false for any other line.
bool ParseValueLine(const std::string& line, std::string* name, std::string* value) {
  std::string* target = name;
  size_t i = 0;
  for (int part = 0; part < 2; ++part) {
    if (i >= line.size() || line[i] != '"') return false;
    target->clear();
    for (++i; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      *target += line[i];
    }
    if (i >= line.size()) return false;
    ++i;
    if (part == 0) {
      if (i >= line.size() || line[i] != '=') return false;
      ++i;
      target = value;
    }
  }
  return i == line.size();
}

bool ReadAll(std::vector<InstalledProduct>* products) {
  products->clear();
  std::ifstream in(RecordPath());
  std::string line;
  InstalledProduct* current = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      std::string key = line.substr(1, line.size() - 2);
      current = nullptr;
      if (key.compare(0, strlen(kProductsKey), kProductsKey) == 0) {
        products->emplace_back();
        current = &products->back();
        current->product_code = key.substr(strlen(kProductsKey));
      }
      continue;
    }
    std::string name, value;
    if (current == nullptr || !ParseValueLine(line, &name, &value)) continue;
    if (name == "ProductName")
      current->name = value;
    else if (name == "Version")
      current->version = value;
    else if (name == "UpgradeCode")
      current->upgrade_code = value;
    else if (name == "InstallFolder")
      current->install_folder = value;
    else if (name.compare(0, 4, "File") == 0)
      current->files.push_back(value);
  }
  return true;
}

bool WriteAll(const std::vector<InstalledProduct>& products, std::string* error) {
  std::ostringstream text;
  text << kHeader << "\r\n";
  for (const InstalledProduct& product : products) {
    text << "\r\n[" << kProductsKey << product.product_code << "]\r\n"
         << "\"ProductName\"=" << Quote(product.name) << "\r\n"
         << "\"Version\"=" << Quote(product.version) << "\r\n"
         << "\"UpgradeCode\"=" << Quote(product.upgrade_code) << "\r\n"
         << "\"InstallFolder\"=" << Quote(product.install_folder) << "\r\n";
    for (size_t i = 0; i < product.files.size(); ++i)
      text << "\"File" << (i + 1) << "\"=" << Quote(product.files[i]) << "\r\n";
  }
  std::string path = RecordPath();
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = "cannot write " + path + ": " + strerror(errno);
    return false;
  }
  std::string bytes = text.str();
  bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            fchmod(fd, 0644) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    *error = "cannot write " + path + ": " + strerror(errno);
    unlink(temp.c_str());
  }
  return ok;
}

// Holds the record's lock file for one read-modify-write, so that two
// installations never lose each other's records.
class RecordLock {
 public:
  RecordLock() {
    std::string folder = ConfigFolder();
    for (size_t slash = 1; (slash = folder.find('/', slash)) != std::string::npos; ++slash)
      mkdir(folder.substr(0, slash).c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    m_fd = open((RecordPath() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd >= 0) flock(m_fd, LOCK_EX);
  }
  ~RecordLock() {
    if (m_fd >= 0) close(m_fd);
  }
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;
  bool held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

bool Update(const std::string& product_code, const InstalledProduct* replacement,
            std::string* error) {
  RecordLock lock;
  if (!lock.held()) {
    *error = "cannot lock " + RecordPath() + ": " + strerror(errno);
    return false;
  }
  std::vector<InstalledProduct> products;
  ReadAll(&products);
  std::vector<InstalledProduct> kept;
  for (InstalledProduct& product : products)
    if (product.product_code != product_code) kept.push_back(std::move(product));
  if (replacement) kept.push_back(*replacement);
  return WriteAll(kept, error);
}

}  // namespace

bool ReadInstalledProducts(std::vector<InstalledProduct>* products, std::string* error) {
  return ReadAll(products);
}

bool RecordInstalledProduct(const InstalledProduct& product, std::string* error) {
  return Update(product.product_code, &product, error);
}

bool ForgetInstalledProduct(const std::string& product_code, std::string* error) {
  return Update(product_code, nullptr, error);
}
