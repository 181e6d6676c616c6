// calvaro-upgrade MODULE BUILT PACKAGE: the Calvaro Upgrade Utility.
#include <wx/init.h>

#include <cstdio>

#include "app/change_history_load.h"
#include "app/command_line_info_ex.h"
#include "app/upgrade_app.h"
#include "app/upgrade_request.h"
#include "app/upgrade_summary.h"
#include "framework/crash_handler.h"
#include "framework/update_check.h"
#include "platform/huge_pages.h"

wxIMPLEMENT_APP_NO_MAIN(CZORMUpgradeApp);

// The application's start-up runs the whole program and ends it; reaching the
// end is the normal outcome, whichever button closed the dialog. Only a program
// that cannot start its user interface (no display) fails.
int main(int argc, char** argv) {
  // A crash anywhere, the early load's thread included, leaves its dump.
  InstallCrashHandler();
  // Starting the toolkit and reading a long history allocate tens of megabytes.
  AdviseHugePagesForProcessHeap();
  // The command line is read once, as the program received it: wx's own option
  // parsing stays out, so "-x" and "/home/op/abc.msi" reach the splitter
  // unchanged. The change history and the update check are fetched while the
  // user interface starts; the dialog and the framework take them at their steps.
  CCommandLineInfoEx command_line;
  ParseCommandLine(argc, argv, command_line);
  const UpgradeRequest request = UpgradeRequestFrom(command_line);
  // The update check's thread starts first, since it reads the settings before it
  // starts: once a worker is opening libcurl, starting a thread waits for the loader.
  CZORMWinApp::StartUpdateCheckEarly(kUpgradeAppTitle, kUpgradeBuildDate);
  StartChangeHistoryLoad(request.module);
  if (!wxEntryStart(argc, argv)) {
    EndUpdateCheck();
    EndChangeHistoryLoad();
    fprintf(stderr, "calvaro-upgrade: cannot start the user interface: is DISPLAY set?\n");
    return 1;
  }
  wxGetApp().m_request = request;
  wxTheApp->CallOnInit();
  wxTheApp->OnExit();
  EndUpdateCheck();
  EndChangeHistoryLoad();
  wxEntryCleanup();
  return 0;
}
