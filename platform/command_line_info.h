// The program's command line, split the way the desktop platform hands it to an
// application: each argument in order to CCommandLineInfo::ParseParam, with a
// flag indicator. On this platform only a leading "-" marks a flag (it is removed
// before the argument is passed on); "/" begins a path and is kept.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
 public:
  CCommandLineInfo() = default;
  virtual ~CCommandLineInfo() = default;
  CCommandLineInfo(const CCommandLineInfo&) = delete;
  CCommandLineInfo& operator=(const CCommandLineInfo&) = delete;

  // Called once per argument. `flag` is true when the argument began with "-";
  // `last` is true for the last argument. The base keeps flags and other
  // arguments apart in m_flags and m_params.
  virtual void ParseParam(const char* param, bool flag, bool last);

  std::vector<std::string> m_flags;   // flags without their "-"
  std::vector<std::string> m_params;  // every other argument
};

// Hands argv[1] .. argv[argc - 1] to `info` in order. A lone "-" is an argument,
// not a flag.
void ParseCommandLine(int argc, const char* const* argv, CCommandLineInfo& info);
