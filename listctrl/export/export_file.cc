#include "listctrl/export/export_file.h"

#include <wx/msgdlg.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "platform/profile.h"

namespace {
constexpr size_t kStreamBuffer = 1 << 16;
}

ExportFile::~ExportFile() {
  if (m_stream != nullptr) fclose(m_stream);
}

bool ExportFile::Open(const std::string& path) {
  if (!OpenStream(path)) {
    if (m_pOwner != nullptr) ShowOpenOutputFailed(m_pOwner);
    return false;
  }
  return true;
}

bool ExportFile::OpenStream(const std::string& path) {
  if (!m_file.Open(path, &m_strError)) return false;
  // The stream has a descriptor of its own, so closing it leaves the atomic
  // file's, which Commit syncs and closes.
  const int fd = dup(m_file.fd());
  m_stream = fd < 0 ? nullptr : fdopen(fd, "w");
  if (m_stream == nullptr) {
    m_strError = std::string("cannot write ") + path + ": " + strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  setvbuf(m_stream, nullptr, _IOFBF, kStreamBuffer);
  return true;
}

bool ExportFile::Commit() {
  if (CommitStream()) return true;
  if (m_pOwner != nullptr) ShowWriteOutputFailed(m_pOwner, m_strError);
  return false;
}

bool ExportFile::CommitStream() {
  const bool written = fflush(m_stream) == 0 && !ferror(m_stream);
  const int reason = errno;
  const bool closed = fclose(m_stream) == 0;
  m_stream = nullptr;
  if (!written || !closed) {
    m_strError = strerror(written ? errno : reason);
    return false;
  }
  return m_file.Commit(&m_strError);
}

void ShowOpenOutputFailed(wxWindow* owner) {
  wxMessageDialog(owner, "Failed to open output file",
                  wxString::FromUTF8(ProfileApplicationName()), wxOK)
      .ShowModal();
}

void ShowWriteOutputFailed(wxWindow* owner, const std::string& reason) {
  wxMessageDialog(owner, wxString::FromUTF8("Failed to write output file: " + reason),
                  "Export Error", wxOK | wxICON_ERROR)
      .ShowModal();
}
