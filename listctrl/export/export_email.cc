// The e-mail export: a text export of the selected rows handed to the desktop's
// mail composer as the attachment "Calvaro_Report.txt".
#include <wx/msgdlg.h>

#include <algorithm>
#include <string>

#include "listctrl/export/export_file.h"
#include "listctrl/zorm_list_ctrl.h"
#include "platform/mail_handoff.h"
#include "util/clock.h"

namespace {

constexpr size_t kMaxRecipients = 256;

}  // namespace

bool CZORMListCtrl::ExportEmail(std::string title, const std::vector<std::string>* recipients) {
  // The attachment lives in a folder of its own, named so that the composer shows
  // the name the user expects. The folder stays after a successful hand-off (the
  // composer may read the file only when the user sends); folders a day old are
  // removed here, by the next e-mail export.
  RemoveStaleMailFolders(CurrentTime());
  std::string folder;
  if (!CreateMailFolder(&folder).ok()) {
    ShowOpenOutputFailed(this);
    return false;
  }
  const std::string attachment = folder + "/Calvaro_Report.txt";
  MailMessage message;
  message.subject = title + " [SEC=UNCLASSIFIED]";
  if (!ExportText(std::move(title), attachment, ExportAction::None)) {
    RemoveMailFolder(folder);
    return false;
  }
  message.body = "Dear ....\n\nPlease find attached the requested information from Calvaro.";
  if (recipients != nullptr)
    message.recipients.assign(
        recipients->begin(),
        recipients->begin() + long(std::min(recipients->size(), kMaxRecipients)));
  message.attachment = attachment;

  const Status sent = HandOffMail(message);
  if (sent.ok()) return true;
  RemoveMailFolder(folder);
  wxMessageDialog(this,
                  sent.code() == kMailToolMissing ? "Failed to load MAPI32.DLL"
                                                  : "Unable to send email message",
                  "MAPI Error", wxOK | wxICON_ERROR)
      .ShowModal();
  return false;
}
