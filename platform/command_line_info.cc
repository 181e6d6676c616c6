#include "platform/command_line_info.h"

void CCommandLineInfo::ParseParam(const char* param, bool flag, bool last) {
  (flag ? m_flags : m_params).emplace_back(param);
}

void ParseCommandLine(int argc, const char* const* argv, CCommandLineInfo& info) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool flag = arg[0] == '-' && arg[1] != '\0';
    info.ParseParam(flag ? arg + 1 : arg, flag, i == argc - 1);
  }
}
