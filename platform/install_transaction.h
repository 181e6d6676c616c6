// All-or-nothing placement of an installation's files. Files are first extracted
// into a staging folder; the transaction then moves each one into place, keeping
// every file it replaces and remembering every folder it creates, so that a
// failure or a cancel can put the disk back exactly as it was.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "util/status.h"

class InstallTransaction {
 public:
  InstallTransaction() = default;
  // Rolls back unless Commit() was called; removes the staging folder.
  ~InstallTransaction();
  InstallTransaction(const InstallTransaction&) = delete;
  InstallTransaction& operator=(const InstallTransaction&) = delete;

  // Takes charge of the staging folder `staging` (see CreateStagingFolder): it
  // holds the replaced files and is removed when the transaction ends.
  void Adopt(const std::string& staging) { m_staging = staging; }

  // Moves the staged file `staged` to `destination`, creating missing folders.
  // `destination` must lie below `root`; the folders up to `root` may be
  // symbolic links, those below it must not be: a link planted there after the
  // package's folders were checked fails the move instead of carrying the file
  // out. A file already at `destination` is kept aside until Commit(). On
  // failure returns the error; what was moved before stays until Rollback().
  Status MoveIntoPlace(const std::string& staged, const std::string& destination,
                       const std::string& root);

  // Makes the moves final: drops the replaced files and the staging folder.
  void Commit();
  // Takes every moved file back, restores the replaced ones and removes the
  // folders it created, then removes the staging folder.
  void Rollback();

 private:
  void RemoveStaging();
  Status CreateFolders(const std::string& folder);
  Status OpenFolderBelow(const std::string& root, const std::string& folder, int* fd);

  std::string m_staging;
  std::vector<std::string> m_created_folders;                   // in creation order
  std::vector<std::string> m_moved;                             // destinations, in move order
  std::vector<std::pair<std::string, std::string>> m_replaced;  // destination, kept copy
  int m_kept_count = 0;
  bool m_done = false;
};

// Creates a staging folder for an installation into `install_folder`, in that
// folder's nearest existing ancestor so that moving from it is a rename. Its
// name carries `owner`, the installing process, so that a later installation
// can tell it abandoned once that process is gone, and removes such folders
// there first. Returns the error when none can be made.
Status CreateStagingFolder(const std::string& install_folder, pid_t owner, std::string* staging);

// `prefix` + owner's process id + "-" + random letters: a name for a file or
// folder in `folder` that RemoveAbandoned can match.
std::string OwnedTemporaryName(const std::string& folder, const std::string& prefix, pid_t owner);
// Removes whatever in `folder` bears an OwnedTemporaryName with `prefix` whose
// owner no longer runs.
void RemoveAbandoned(const std::string& folder, const std::string& prefix);

// True when `name` is the name of a staging folder.
bool IsStagingFolderName(const std::string& name);

// Moves a file, by rename where possible, else by a copy that appears at
// `destination` only when complete.
Status MoveFileInto(const std::string& from, const std::string& destination);

// Removes `path` and everything below it; missing is fine.
void RemoveTree(const std::string& path);
