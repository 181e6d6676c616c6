#include "framework/association.h"

#include <gtk/gtk.h>
#include <wx/msgdlg.h>

#include "platform/shell_verb.h"

namespace {

enum class ChooserOutcome { kLaunched, kCancelled, kFailed };

// Offers GTK's application chooser for the file's type and launches the file with
// the program the user picks. On failure `reason` says why.
ChooserOutcome OfferAppChooser(const std::string& path, std::string* reason) {
  GFile* file = g_file_new_for_path(path.c_str());
  GtkWidget* dialog = gtk_app_chooser_dialog_new(nullptr, GTK_DIALOG_MODAL, file);
  ChooserOutcome outcome = ChooserOutcome::kCancelled;
  if (dialog == nullptr) {
    outcome = ChooserOutcome::kFailed;
    *reason = ShellResultText(kShellNoAssociation);
  } else if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
    GAppInfo* app = gtk_app_chooser_get_app_info(GTK_APP_CHOOSER(dialog));
    gtk_widget_destroy(dialog);
    dialog = nullptr;
    GList files = {file, nullptr, nullptr};
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    GError* error = nullptr;
    if (app != nullptr && g_app_info_launch(app, &files, G_APP_LAUNCH_CONTEXT(context), &error)) {
      outcome = ChooserOutcome::kLaunched;
    } else {
      outcome = ChooserOutcome::kFailed;
      *reason = error != nullptr ? error->message : ShellResultText(kShellNoAssociation);
    }
    if (error != nullptr) g_error_free(error);
    g_object_unref(context);
    if (app != nullptr) g_object_unref(app);
  }
  if (dialog != nullptr) gtk_widget_destroy(dialog);
  g_object_unref(file);
  return outcome;
}

int RunVerb(ShellVerb verb, const std::string& path) {
  const Status status = RunShellVerb(verb, path);
  if (status.ok()) return 1;
  std::string reason = status.message();
  if (status.code() == kShellNoAssociation) {
    // The user picking no program is an answer, not a failure to report.
    const ChooserOutcome chosen = OfferAppChooser(path, &reason);
    if (chosen != ChooserOutcome::kFailed) return chosen == ChooserOutcome::kLaunched ? 1 : 0;
  }
  wxMessageDialog box(nullptr, wxString::FromUTF8("Failed to process file: " + reason),
                      "Open Error", wxOK | wxICON_ERROR);
  box.ShowModal();
  return 0;
}

}  // namespace

int CZORMAssociation::OpenFile() { return RunVerb(ShellVerb::kOpen, m_strPath); }

int CZORMAssociation::PrintFile() { return RunVerb(ShellVerb::kPrint, m_strPath); }
