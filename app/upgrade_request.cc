#include "app/upgrade_request.h"

UpgradeRequest UpgradeRequestFrom(const CCommandLineInfoEx& command_line) {
  UpgradeRequest request;
  request.module = command_line.m_strModule;
  request.built = command_line.m_dtBuilt;
  request.package = command_line.m_strURL;
  if (!command_line.m_params.empty()) request.server = command_line.m_params.front();
  return request;
}
