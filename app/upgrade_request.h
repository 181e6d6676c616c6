// What the operator asks for: the module to upgrade, the build date of the
// installed copy, the package and the installer's properties. The command line
// is parsed once into this value, which the application, its dialog, the
// command-line companion and the early change-history load then share.
#pragma once

#include <string>

#include "app/command_line_info_ex.h"
#include "platform/ole_date.h"

struct UpgradeRequest {
  std::string module;      // the module to upgrade
  OleDate built;           // build date of the installed copy (invalid when unreadable)
  std::string package;     // a .msi path or an http(s) address
  std::string properties;  // the installer's property text; the dialog starts it empty
  std::string server;      // the first argument that is not a flag: the default server
};

// The request a parsed command line makes.
UpgradeRequest UpgradeRequestFrom(const CCommandLineInfoEx& command_line);
