#include "framework/crash_handler.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "framework/executable_folder.h"
#include "platform/crash_dump_writer.h"
#include "platform/file_io.h"

namespace {

constexpr char kMessageProgramName[] = "zorm-crash-message";


}  // namespace

std::string DefaultCrashMessageProgram() {
  std::string beside = ExecutableFolder() + kMessageProgramName;
  if (access(beside.c_str(), X_OK) == 0) return beside;
#ifdef ZORM_CRASH_MESSAGE_BUILD_PATH
  if (access(ZORM_CRASH_MESSAGE_BUILD_PATH, X_OK) == 0) return ZORM_CRASH_MESSAGE_BUILD_PATH;
#endif
  return "";
}

bool InstallCrashHandler(const std::string& message_program) {
  static bool installed = false;
  if (installed) return true;
  Status status = InstallCrashDumpWriter({TempFolder(), message_program});
  if (!status.ok()) fprintf(stderr, "%s\n", status.message().c_str());
  installed = status.ok();
  return installed;
}
