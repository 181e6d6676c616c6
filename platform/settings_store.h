// The settings store: one `.reg` file per registry root.
//   HKEY_CURRENT_USER   $XDG_CONFIG_HOME/Morvend/registry.reg (default ~/.config)
//   HKEY_LOCAL_MACHINE  <first folder of $XDG_CONFIG_DIRS>/Morvend/registry.reg
//                       (default /etc/xdg)
// The file is read afresh for every operation, so several processes share one view.
// Changes run under an exclusive lock on `registry.reg.lock` beside the file, and
// the new text replaces the old one by rename after fsync, so a reader sees either
// the old file or the new one, never a part. A file that cannot be read as a
// settings file is renamed to `registry.reg.bad` and the store starts empty.
// Safe to use from several threads and processes at once.
#pragma once

#include <functional>
#include <string>

#include "platform/reg_file.h"
#include "util/status.h"

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
const char* RegistryRootName(RegistryRoot root);

class SettingsStore {
 public:
  // The codes of Update's errors: those the registry calls report for them.
  static constexpr long kReadOnly = 5;  // may not be changed by this process (nothing written)
  static constexpr long kIoError = 29;  // the file could not be written (nothing changed)

  // Binds to the root's file as the environment names it now.
  explicit SettingsStore(RegistryRoot root);

  RegistryRoot root() const { return m_root; }
  const std::string& path() const { return m_path; }

  // The keys and values in the file: empty when it is missing, unreadable or
  // damaged (a damaged file is first moved aside when the folder allows it).
  RegTree Load() const;

  // Whether this process may change the file. The write permission bits of the
  // file and its folder decide as they would for an ordinary user, also for root:
  // an administrator marks a machine-wide store read-only by its mode, and root's
  // power to write past the bits must not make the program treat it as writable.
  bool IsWritable() const;

  // Under the lock: reads the file, lets `change` edit the tree and, when it
  // returns true, writes the tree back. When `change` returns false nothing is
  // written and the result is ok. Errors carry kReadOnly or kIoError.
  Status Update(const std::function<bool(RegTree&)>& change) const;

 private:
  RegistryRoot m_root;
  std::string m_path;
};
