// calvaro-upgrade MODULE BUILT PACKAGE: the Calvaro Upgrade Utility.
#include <wx/init.h>

#include <cstdio>

#include "app/change_history_load.h"
#include "app/command_line_info_ex.h"
#include "app/upgrade_app.h"

wxIMPLEMENT_APP_NO_MAIN(CZORMUpgradeApp);

// The application's start-up runs the whole program and ends it; reaching the
// end is the normal outcome, whichever button closed the dialog. Only a program
// that cannot start its user interface (no display) fails.
int main(int argc, char** argv) {
  // The change history is fetched while the user interface starts; the dialog
  // takes it when it is shown.
  CCommandLineInfoEx command_line;
  ParseCommandLine(argc, argv, command_line);
  StartChangeHistoryLoad(command_line.m_strModule);
  if (!wxEntryStart(argc, argv)) {
    EndChangeHistoryLoad();
    fprintf(stderr, "calvaro-upgrade: cannot start the user interface: is DISPLAY set?\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  wxTheApp->OnExit();
  EndChangeHistoryLoad();
  wxEntryCleanup();
  return 0;
}
