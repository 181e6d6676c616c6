#include "app/install_progress.h"

#include <wx/progdlg.h>

#include <algorithm>

CZORMInstallProgress::CZORMInstallProgress(wxWindow* parent) : m_parent(parent) {}

CZORMInstallProgress::~CZORMInstallProgress() {
  if (m_window) m_window->Hide();
}

bool CZORMInstallProgress::Report(const InstallProgress& progress) {
  if (m_bCancelled) return false;
  const bool downloading = progress.stage == InstallProgress::Stage::kDownload;
  const wxString message =
      downloading ? "Downloading the installation package..." : "Installing the upgrade...";
  if (!m_window) {
    // Not auto-hidden at 100 %: the window stays until the installer is done,
    // so the operator can still see where it stands while files are recorded.
    m_window = std::make_unique<wxProgressDialog>(
        m_parent ? m_parent->GetLabel() : wxString(), message, 100, m_parent,
        wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_ELAPSED_TIME);
  }
  bool going;
  if (progress.percent < 0)
    going = m_window->Pulse(message);
  else
    going = m_window->Update(std::min(progress.percent, 99), message);
  if (!going) m_bCancelled = true;
  return going;
}
