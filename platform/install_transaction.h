// All-or-nothing placement of an installation's files. Files are first extracted
// into a staging folder; the transaction then moves each one into place, keeping
// every file it replaces and remembering every folder it creates, so that a
// failure or a cancel can put the disk back exactly as it was.
#pragma once

#include <string>
#include <utility>
#include <vector>

class InstallTransaction {
 public:
  InstallTransaction() = default;
  // Rolls back unless Commit() was called; removes the staging folder.
  ~InstallTransaction();
  InstallTransaction(const InstallTransaction&) = delete;
  InstallTransaction& operator=(const InstallTransaction&) = delete;

  // Creates the staging folder beside `install_folder` (in its nearest existing
  // ancestor, so that moving from it is a rename). Returns false and fills
  // `error` when no staging folder can be made.
  bool Begin(const std::string& install_folder, std::string* error);
  const std::string& staging_folder() const { return m_staging; }

  // Moves the staged file `staged` to `destination`, creating missing folders.
  // A file already at `destination` is kept aside until Commit(). Returns false
  // and fills `error` on failure; what was moved before stays until Rollback().
  bool MoveIntoPlace(const std::string& staged, const std::string& destination,
                     std::string* error);

  // Makes the moves final: drops the replaced files and the staging folder.
  void Commit();
  // Takes every moved file back, restores the replaced ones and removes the
  // folders it created, then removes the staging folder.
  void Rollback();

 private:
  void RemoveStaging();

  std::string m_staging;
  std::vector<std::string> m_created_folders;  // in creation order
  std::vector<std::string> m_moved;            // destinations, in move order
  std::vector<std::pair<std::string, std::string>> m_replaced;  // destination, kept copy
  int m_kept_count = 0;
  bool m_done = false;
};

// Moves a file, by rename where possible, else by a copy that appears at
// `destination` only when complete. Returns false and fills `error` on failure.
bool MoveFileInto(const std::string& from, const std::string& destination, std::string* error);

// Removes `path` and everything below it; missing is fine.
void RemoveTree(const std::string& path);
