// The upgrade utility's command line: MODULE BUILT PACKAGE. Every argument counts,
// flags included; the first three fill the fields below, later ones are ignored.
#pragma once

#include <string>

#include "platform/command_line_info.h"
#include "platform/ole_date.h"

class CCommandLineInfoEx : public CCommandLineInfo {
 public:
  void ParseParam(const char* param, bool flag, bool last) override;

  std::string m_strModule;  // the module to upgrade
  std::string m_strURL;     // the package handed to the installer
  OleDate m_dtBuilt;        // build date of the installed copy; 0.0 valid until given
  int m_nParam = 0;         // arguments seen so far
};
