#include "framework/string_array.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

int64_t CZORMStringArray::Add(const std::string& text) {
  size_t& count = m_counts[text];
  if (m_bUnique && count > 0) return 0;
  ++count;
  m_strings.push_back(text);
  return static_cast<int64_t>(m_strings.size() - 1);
}

size_t CZORMStringArray::GetCount(const std::string& text) const {
  const auto found = m_counts.find(text);
  return found == m_counts.end() ? 0 : found->second;
}

std::string CZORMStringArray::JoinedLines() const {
  size_t size = 0;
  for (const std::string& text : m_strings) size += text.size() + 2;
  std::string joined;
  joined.reserve(size);
  for (const std::string& text : m_strings) {
    joined += text;
    joined += "\r\n";
  }
  return joined;
}

void CZORMStringArray::CopyToClipboard(wxWindow* /*owner*/) const {
  // Another copy holding the clipboard open is not ours to interrupt; wx would
  // also assert on a second Open.
  if (wxTheClipboard->IsOpened() || !wxTheClipboard->Open()) return;
  wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(JoinedLines())));
  wxTheClipboard->Close();
}
