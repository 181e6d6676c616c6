// The progress window of an installation. The installer reports to Callback()
// while the object lives: the window appears with the first report (so an
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
  // `parent` owns the window.
  explicit CZORMInstallProgress(wxWindow* parent);
  // Closes the window.
  ~CZORMInstallProgress();
  CZORMInstallProgress(const CZORMInstallProgress&) = delete;
  CZORMInstallProgress& operator=(const CZORMInstallProgress&) = delete;

  // What InstallProduct is to report to; valid while this object lives.
  InstallProgressCallback Callback() {
    return [this](const InstallProgress& progress) { return Report(progress); };
  }

  // The window while it is shown, else null.
  wxProgressDialog* window() const { return m_window.get(); }

 private:
  // Shows `progress`; false once the operator has cancelled.
  bool Report(const InstallProgress& progress);

  wxWindow* m_parent;
  std::unique_ptr<wxProgressDialog> m_window;
  bool m_bCancelled = false;
};
