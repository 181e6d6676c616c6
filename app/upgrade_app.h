// CZORMUpgradeApp: the upgrade utility's application. Its start-up is the whole
// program: it starts the framework, reads the command line (module, build date
// of the installed copy, package), builds the upgrade summary, runs the upgrade
// dialog and then ends the program, without a message loop of its own.
#pragma once

#include "app/upgrade_request.h"
#include "framework/win_app.h"

class CZORMUpgradeApp : public CZORMWinApp {
 public:
  CZORMUpgradeApp();

  // Runs InitInstance.
  bool OnInit() override;
  // The start-up (see above) for m_request. Always returns false: the program
  // ends when the dialog closes, whether it ended with "&Upgrade" or "Cancel".
  virtual bool InitInstance();

  // The command line, parsed by main before the application starts.
  UpgradeRequest m_request;

 protected:
  std::optional<std::string> DefaultServerArgument() const override;
};
