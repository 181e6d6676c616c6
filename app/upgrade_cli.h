// calvaro-upgrade-cli: the upgrade for scripts. Prints the upgrade summary and
// the module's change history, and with --install runs the installer.
//
//   calvaro-upgrade-cli MODULE BUILT PACKAGE [--install] [--properties TEXT]
//
// Exit status: with --install the installer's result code (its low eight bits);
// without it 0, or 1 when the change history could not be fetched or read; 2 for
// a command line it cannot use.
#pragma once

#include "app/command_line_info_ex.h"
#include "app/upgrade_request.h"

// The utility's command line plus the companion's two options.
class UpgradeCliCommandLine : public CCommandLineInfoEx {
 public:
  void ParseParam(const char* param, bool flag, bool last) override;

  bool m_bInstall = false;
  std::string m_strProperties;  // the installer's property text (--properties)
  std::string m_strError;       // why the command line cannot be used; empty if it can
  bool m_bHelp = false;

 private:
  bool m_bPropertiesNext = false;
};

int RunUpgradeCli(int argc, const char* const* argv);
