// ExportProgress: the progress dialog of a long export. Nothing shows for an
// export that is done within half a second; after that a modal progress dialog
// with a Cancel button follows the records written.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

class wxWindow;
class wxProgressDialog;

class ExportProgress {
 public:
  // `what` names the export in the dialog ("CSV", "PDF", ...); `total` records.
  ExportProgress(wxWindow* parent, std::string what, size_t total);
  ~ExportProgress();
  ExportProgress(const ExportProgress&) = delete;
  ExportProgress& operator=(const ExportProgress&) = delete;

  // Call after each record with the number written so far. False once the user
  // pressed Cancel: the writer then stops and leaves no file. Cheap enough for
  // every record: the clock is read every 256 calls.
  bool Step(size_t done) {
    if ((++m_nCalls & 0xFF) != 0) return !m_bCancelled;
    return Update(done);
  }

  bool IsCancelled() const { return m_bCancelled; }

 private:
  bool Update(size_t done);

  wxWindow* m_pParent;
  std::string m_strWhat;
  size_t m_nTotal;
  size_t m_nCalls = 0;
  bool m_bCancelled = false;
  std::chrono::steady_clock::time_point m_start;
  std::chrono::steady_clock::time_point m_lastUpdate;
  std::unique_ptr<wxProgressDialog> m_pDialog;
};
