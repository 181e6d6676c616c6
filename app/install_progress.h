// The progress window of an installation. While an object of this class lives,
// the installer reports to it: the window appears with the first report (so an
// installation that fails at once shows none), follows the download and then the
// installation of the files, and its "Cancel" makes the installer stop, which
// then returns 1602 and leaves nothing installed. GUI thread only.
#pragma once

#include <memory>

#include "platform/installer.h"

class wxProgressDialog;
class wxWindow;

class CZORMInstallProgress {
 public:
  // Starts receiving the installer's reports; `parent` owns the window.
  explicit CZORMInstallProgress(wxWindow* parent);
  // Closes the window and gives the installer back the receiver it had before.
  ~CZORMInstallProgress();
  CZORMInstallProgress(const CZORMInstallProgress&) = delete;
  CZORMInstallProgress& operator=(const CZORMInstallProgress&) = delete;

  // The window while it is shown, else null.
  wxProgressDialog* window() const { return m_window.get(); }

 private:
  // Shows `progress`; false once the operator has cancelled.
  bool Report(const InstallProgress& progress);

  wxWindow* m_parent;
  std::unique_ptr<wxProgressDialog> m_window;
  bool m_bCancelled = false;
  InstallProgressCallback m_previous;
};
