#include "listctrl/export/export_save_dialog.h"

#include <wx/filedlg.h>

#include "listctrl/zorm_list_ctrl.h"

std::string AskExportPath(const CZORMListCtrl& list, const char* extension, const char* filter) {
  wxString wildcard = wxString::FromUTF8(filter);
  if (wildcard.EndsWith("|")) wildcard.RemoveLast();
  wxFileDialog dialog(nullptr, wxFileSelectorPromptStr, wxEmptyString,
                      wxString::FromUTF8(list.GetExportFileName(extension)), wildcard,
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return "";
  return dialog.GetPath().utf8_string();
}
