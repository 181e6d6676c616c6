#include "framework/user_message_box.h"

#include <wx/msgdlg.h>

#include "platform/user_message.h"

namespace {

long IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone: return wxICON_NONE;
    case MessageIcon::kStop: return wxICON_ERROR;
    case MessageIcon::kQuestion: return wxICON_QUESTION;
    case MessageIcon::kWarning: return wxICON_WARNING;
    case MessageIcon::kInformation: return wxICON_INFORMATION;
  }
  return wxICON_INFORMATION;
}

}  // namespace

void InstallUserMessageBoxes() {
  SetUserMessageHandler([](const std::string& caption, const std::string& text, MessageIcon icon) {
    wxMessageDialog box(nullptr, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                        wxOK | IconStyle(icon));
    box.ShowModal();
  });
}
