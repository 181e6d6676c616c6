#include "platform/install_directories.h"

#include <sys/stat.h>

#include <cstdlib>
#include <set>

#include "platform/file_io.h"

namespace {

bool HasControlCharacter(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
  return false;
}

struct Resolver {
  const std::map<std::string, const InstallDirectoryRow*>& rows;
  const InstallProperties& properties;
  const std::string& default_root;
  std::map<std::string, std::string>& paths;

  Status Resolve(const std::string& id, std::set<std::string>* visiting) {
    if (paths.count(id)) return Status::Ok();
    auto row = rows.find(id);
    if (row == rows.end()) {
      return Status::Error("the package's folder " + id + " is not in its Directory table");
    }
    if (!visiting->insert(id).second) {
      return Status::Error("the package's folder " + id + " lies inside itself");
    }

    auto property = properties.find(id);
    if (property != properties.end() && !property->second.empty()) {
      if (property->second[0] != '/' || HasControlCharacter(property->second)) {
        return Status::Error(id + " must be an absolute path, not \"" + property->second + "\"");
      }
      paths[id] = WithoutTrailingSlash(property->second);
      return Status::Ok();
    }

    const std::string& parent = row->second->parent;
    if (parent.empty() || parent == id) {
      paths[id] = WithoutTrailingSlash(default_root);
      return Status::Ok();
    }
    if (Status status = Resolve(parent, visiting); !status.ok()) return status;
    std::string name = LongTargetName(row->second->default_dir);
    if (name == ".") {
      paths[id] = paths[parent];
      return Status::Ok();
    }
    if (!IsPlainFileName(name)) {
      return Status::Error("the package's folder " + id + " has the unusable name \"" + name + "\"");
    }
    const std::string& base = paths[parent];
    paths[id] = (base == "/" ? "" : base) + "/" + name;
    return Status::Ok();
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

Status ResolveInstallDirectories(const std::vector<InstallDirectoryRow>& rows,
                                 const InstallProperties& properties,
                                 const std::string& default_root,
                                 std::map<std::string, std::string>* paths) {
  std::map<std::string, const InstallDirectoryRow*> by_id;
  for (const InstallDirectoryRow& row : rows) by_id[row.id] = &row;

  std::map<std::string, std::string> resolved;
  Resolver resolver{by_id, properties, default_root, resolved};
  for (const InstallDirectoryRow& row : rows) {
    std::set<std::string> visiting;
    if (Status status = resolver.Resolve(row.id, &visiting); !status.ok()) return status;
  }
  *paths = std::move(resolved);
  return Status::Ok();
}

std::string DefaultInstallRoot() {
  const char* data_home = getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return std::string(data_home) + "/Morvend";
  const char* home = getenv("HOME");
  return std::string(home ? home : "") + "/.local/share/Morvend";
}

bool IsWithinFolder(const std::string& path, const std::string& folder) {
  if (folder == "/") return path[0] == '/';
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '/');
}

bool StaysWithinOnDisk(const std::string& path, const std::string& root) {
  if (!IsWithinFolder(path, root)) return false;
  char* real_root = realpath(root.c_str(), nullptr);
  if (real_root == nullptr) return true;  // nothing below a missing root can lead away
  std::string existing = path;
  struct stat st;
  while (stat(existing.c_str(), &st) != 0 && existing != root) existing = ParentFolder(existing);
  char* real = realpath(existing.c_str(), nullptr);
  bool within = real != nullptr && IsWithinFolder(real, real_root);
  free(real);
  free(real_root);
  return within;
}
