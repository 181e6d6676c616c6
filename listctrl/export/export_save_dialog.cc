#include "listctrl/export/export_save_dialog.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "listctrl/zorm_list_ctrl.h"

std::string AskExportPath(const CZORMListCtrl& list, const char* extension, const char* filter) {
  std::string wildcard = filter;
  if (!wildcard.empty() && wildcard.back() == '|') wildcard.pop_back();
  wxFileDialog dialog(nullptr, wxFileSelectorPromptStr, wxEmptyString,
                      wxString::FromUTF8(list.GetExportFileName(extension)),
                      wxString::FromUTF8(wildcard), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return {};
  wxFileName chosen(dialog.GetPath());
  // A name typed without an extension gets the export's, as the filter promises.
  if (!chosen.HasExt()) chosen.SetExt(extension);
  return chosen.GetFullPath().utf8_string();
}
