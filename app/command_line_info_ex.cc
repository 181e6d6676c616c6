#include "app/command_line_info_ex.h"

void CCommandLineInfoEx::ParseParam(const char* param, bool flag, bool last) {
  switch (m_nParam) {
    case 0:
      m_strModule = param;
      break;
    case 1:
      // The parser's outcome travels in the status: 0.0 invalid for text that is
      // not a date, -1.0 invalid for one out of range.
      m_dtBuilt = ParseOleDate(param);
      break;
    case 2:
      m_strURL = param;
      break;
    default:
      break;
  }
  ++m_nParam;
  CCommandLineInfo::ParseParam(param, flag, last);
}
