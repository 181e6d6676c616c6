// Where a package's folders go: the package's Directory table resolved against
// the installation root and the properties the operator gave.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/install_properties.h"
#include "util/status.h"

// One row of a package's Directory table.
struct InstallDirectoryRow {
  std::string id;           // the folder's key; also the property that can move it
  std::string parent;       // the parent's key; empty (or the key itself) for a root
  std::string default_dir;  // "[short|]long[:source]"; "." is the parent itself
};

// Resolves every row to an absolute path. A folder whose key is set as a property
// (for instance INSTALLDIR=/opt/abc or TARGETDIR=...) goes to that path, and its
// subfolders below it; a root without such a property goes to `default_root`;
// every other folder is its parent's path plus the long target name of its
// DefaultDir. Returns an error saying why when the table is broken (an
// unknown parent, a loop, a name that would leave its parent such as ".." or
// one with a "/") or a property names a relative path or one with control
// characters.
Status ResolveInstallDirectories(const std::vector<InstallDirectoryRow>& rows,
                                 const InstallProperties& properties,
                                 const std::string& default_root,
                                 std::map<std::string, std::string>* paths);

// The target name of a DefaultDir, FileName or similar "short|long[:source]"
// column: the long name of the target part.
std::string LongTargetName(const std::string& column);

// True when `name` is safe as one path component below a folder: not empty,
// not "." or "..", without "/", "\\" or control characters.
bool IsPlainFileName(const std::string& name);

// The installation root: $XDG_DATA_HOME/Morvend, or ~/.local/share/Morvend when
// XDG_DATA_HOME is unset or not an absolute path.
std::string DefaultInstallRoot();

// True when `path` is `folder` or lies below it.
bool IsWithinFolder(const std::string& path, const std::string& folder);

// True when `path` lies within `root` (see IsWithinFolder) also on the disk: no
// symbolic link among its existing folders leads out of the real `root`.
bool StaysWithinOnDisk(const std::string& path, const std::string& root);
