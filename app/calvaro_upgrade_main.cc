// calvaro-upgrade MODULE BUILT PACKAGE: the Calvaro Upgrade Utility.
#include <wx/init.h>

#include <cstdio>

#include "app/upgrade_app.h"

wxIMPLEMENT_APP_NO_MAIN(CZORMUpgradeApp);

// The application's start-up runs the whole program and ends it; reaching the
// end is the normal outcome, whichever button closed the dialog. Only a program
// that cannot start its user interface (no display) fails.
int main(int argc, char** argv) {
  if (!wxEntryStart(argc, argv)) {
    fprintf(stderr, "calvaro-upgrade: cannot start the user interface: is DISPLAY set?\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
