// ExportFile: the file one export writes. It appears at its path only once the
// writer finished: until then the bytes go to a temporary file beside it, so a
// cancelled export, a full disk or a crash leaves neither a partial file nor a
// changed earlier one.
//
// A writer either writes through stream(), or hands write_path() to a library that
// writes by file name (the PDF and the workbook) and calls Commit once that
// library has closed the file.
#pragma once

#include <cstdio>
#include <string>

#include "platform/file_io.h"

class wxWindow;

class ExportFile {
 public:
  // Failures are told to the user in message boxes owned by `owner` (null: none).
  explicit ExportFile(wxWindow* owner) : m_pOwner(owner) {}
  // Removes the temporary file when Commit did not run or failed.
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  // Creates the temporary file for `path`. False when the folder cannot be
  // written: the user was told "Failed to open output file", and the system's
  // reason is in error().
  bool Open(const std::string& path);

  // A buffered stream on the temporary file; its write errors are found by Commit.
  FILE* stream() const { return m_stream; }
  // Where the bytes go until Commit.
  const std::string& write_path() const { return m_file.write_path(); }

  // Flushes everything written and puts the file at its path. False when any
  // write failed (a full disk, a size limit): the user was told why, the reason is
  // in error(), and the temporary file is removed by the destructor.
  bool Commit();

  const std::string& error() const { return m_strError; }

 private:
  bool OpenStream(const std::string& path);
  bool CommitStream();

  // An export can be made again from the list: its file is not synced to the disk
  // before it takes its place, which would cost more than writing it.
  AtomicFile m_file{false};
  wxWindow* m_pOwner;
  FILE* m_stream = nullptr;
  std::string m_strError;
};

// The writers' messages, in message boxes owned by `owner`:
// "Failed to open output file" under the application's name, with an OK button.
void ShowOpenOutputFailed(wxWindow* owner);
// "Failed to write output file: <reason>" under "Export Error" with the error icon;
// nothing was left at the path.
void ShowWriteOutputFailed(wxWindow* owner, const std::string& reason);
