#include "platform/install_directories.h"

#include <cstdlib>
#include <set>

namespace {

bool HasControlCharacter(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
  return false;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

struct Resolver {
  const std::map<std::string, const InstallDirectoryRow*>& rows;
  const InstallProperties& properties;
  const std::string& default_root;
  std::map<std::string, std::string>& paths;
  std::string& error;

  bool Resolve(const std::string& id, std::set<std::string>* visiting) {
    if (paths.count(id)) return true;
    auto row = rows.find(id);
    if (row == rows.end()) {
      error = "the package's folder " + id + " is not in its Directory table";
      return false;
    }
    if (!visiting->insert(id).second) {
      error = "the package's folder " + id + " lies inside itself";
      return false;
    }

    auto property = properties.find(id);
    if (property != properties.end() && !property->second.empty()) {
      if (property->second[0] != '/' || HasControlCharacter(property->second)) {
        error = id + " must be an absolute path, not \"" + property->second + "\"";
        return false;
      }
      paths[id] = WithoutTrailingSlashes(property->second);
      return true;
    }

    const std::string& parent = row->second->parent;
    if (parent.empty() || parent == id) {
      paths[id] = WithoutTrailingSlashes(default_root);
      return true;
    }
    if (!Resolve(parent, visiting)) return false;
    std::string name = LongTargetName(row->second->default_dir);
    if (name == ".") {
      paths[id] = paths[parent];
      return true;
    }
    if (!IsPlainFileName(name)) {
      error = "the package's folder " + id + " has the unusable name \"" + name + "\"";
      return false;
    }
    const std::string& base = paths[parent];
    paths[id] = (base == "/" ? "" : base) + "/" + name;
    return true;
  }
};

}  // namespace

std::string LongTargetName(const std::string& column) {
  std::string target = column.substr(0, column.find(':'));
  size_t bar = target.find('|');
  return bar == std::string::npos ? target : target.substr(bar + 1);
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && !HasControlCharacter(name) &&
         name.find_first_of("/\\") == std::string::npos;
}

bool ResolveInstallDirectories(const std::vector<InstallDirectoryRow>& rows,
                               const InstallProperties& properties, const std::string& default_root,
                               std::map<std::string, std::string>* paths, std::string* error) {
  std::map<std::string, const InstallDirectoryRow*> by_id;
  for (const InstallDirectoryRow& row : rows) by_id[row.id] = &row;

  std::map<std::string, std::string> resolved;
  Resolver resolver{by_id, properties, default_root, resolved, *error};
  for (const InstallDirectoryRow& row : rows) {
    std::set<std::string> visiting;
    if (!resolver.Resolve(row.id, &visiting)) return false;
  }
  *paths = std::move(resolved);
  return true;
}

std::string DefaultInstallRoot() {
  const char* data_home = getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return std::string(data_home) + "/Morvend";
  const char* home = getenv("HOME");
  return std::string(home ? home : "") + "/.local/share/Morvend";
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsWithinFolder(const std::string& path, const std::string& folder) {
  if (folder == "/") return path[0] == '/';
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '/');
}
