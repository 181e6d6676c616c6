// The yardstick for the utility's start-up: a wxWidgets program that only shows
// an empty modal dialog of the same size and title, and ends when it closes.
#include <wx/app.h>
#include <wx/dialog.h>

class BareDialogApp : public wxApp {
 public:
  bool OnInit() override {
    wxDialog dialog(nullptr, wxID_ANY, "Calvaro Upgrade Utility", wxDefaultPosition,
                    wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    dialog.SetClientSize(dialog.ConvertDialogToPixels(wxSize(663, 315)));
    dialog.ShowModal();
    return false;
  }
};

wxIMPLEMENT_APP(BareDialogApp);
