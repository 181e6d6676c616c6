// zorm-crash-message DUMP-PATH: tells the user that the program has died and where
// its dump file is. Started by the crash handler as a fresh process, so it works
// whatever state the crashed program was in. Without a display it writes the
// message to stderr.
#include <wx/app.h>
#include <wx/init.h>
#include <wx/msgdlg.h>

#include <cstdio>
#include <cstdlib>

#include "platform/crash_dump_writer.h"

namespace {

bool HasDisplay() {
  const char* x11 = getenv("DISPLAY");
  const char* wayland = getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string text = CrashMessageText(argc > 1 ? argv[1] : "");
  if (HasDisplay()) {
    wxApp::SetInstance(new wxApp);
    if (wxEntryStart(argc, argv)) {
      wxMessageDialog dialog(nullptr, wxString::FromUTF8(text), kCrashMessageCaption,
                             wxOK | wxICON_STOP);
      dialog.ShowModal();
      wxEntryCleanup();
      return 0;
    }
  }
  fprintf(stderr, "%s: %s\n", kCrashMessageCaption, text.c_str());
  return 0;
}
