#include "listctrl/export/export_progress.h"

#include <wx/progdlg.h>

#include <algorithm>
#include <climits>

namespace {
// Nothing shows before this; the dialog is then redrawn at most this often.
constexpr auto kQuietTime = std::chrono::milliseconds(500);
constexpr auto kRedrawTime = std::chrono::milliseconds(100);
}  // namespace

ExportProgress::ExportProgress(wxWindow* parent, std::string what, size_t total)
    : m_pParent(parent),
      m_strWhat(std::move(what)),
      m_nTotal(total),
      m_start(std::chrono::steady_clock::now()),
      m_lastUpdate(m_start) {}

ExportProgress::~ExportProgress() = default;

bool ExportProgress::Update(size_t done) {
  const auto now = std::chrono::steady_clock::now();
  if (m_bCancelled || now - m_start < kQuietTime || now - m_lastUpdate < kRedrawTime)
    return !m_bCancelled;
  m_lastUpdate = now;
  // wxProgressDialog counts in int.
  const int range = int(std::clamp<size_t>(m_nTotal, 1, INT_MAX));
  const int value = int(std::min<size_t>(done, size_t(range)));
  const wxString message =
      wxString::Format("Exporting %zu of %zu records...", done, m_nTotal);
  if (!m_pDialog) {
    m_pDialog = std::make_unique<wxProgressDialog>(
        wxString::FromUTF8(m_strWhat + " Export"), message, range, m_pParent,
        wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_ELAPSED_TIME | wxPD_AUTO_HIDE);
  }
  if (!m_pDialog->Update(value, message)) m_bCancelled = true;
  return !m_bCancelled;
}
