#include "platform/shell_verb.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/file_io.h"
#include "platform/tool_run.h"

namespace {

struct ResultText {
  long result;
  const char* text;
};

const ResultText kResultTexts[] = {
    {0, "The operating system is out of memory or resources"},
    {2, "The specified file was not found"},
    {3, "The specified path was not found"},
    {5, "The operating system denied access to the specified file"},
    {8, "There was not enough memory to complete the operation"},
    {11, "The .exe file is invalid (non-Win32 .exe or error in .exe image)"},
    {26, "A sharing violation occurred"},
    {27, "The file name association is incomplete or invalid"},
    {28, "The DDE transaction could not be completed because the request timed out"},
    {29, "The DDE transaction failed"},
    {30,
     "The DDE transaction could not be completed because other DDE transactions were being "
     "processed"},
    {31, "There is no application associated with the given file name extension"},
    {32, "The specified DLL was not found"},
    {kShellOpenProgramMissing, "The program xdg-open (package xdg-utils) is not installed"},
    {kShellPrintProgramMissing, "The print program lp (package cups-client) is not installed"},
    {kShellNoPrinter, "No printer is set up"},
    {kShellPrintServiceDown, "The print service (CUPS) is not running"},
};

constexpr long kUnknown = -1;

Status Failure(long result) { return Status::Error(ShellResultText(result), result); }

// A path no tool can mistake for an option or an address: relative ones become
// absolute, so "-x" or "http:x" is read as the file it names.
std::string AbsolutePath(const std::string& path) {
  if (path[0] == '/') return path;
  std::vector<char> cwd(4096);
  while (getcwd(cwd.data(), cwd.size()) == nullptr) {
    if (errno != ERANGE) return "./" + path;
    cwd.resize(cwd.size() * 2);
  }
  std::string folder = cwd.data();
  return (folder == "/" ? "" : folder) + "/" + path;
}

// The tools' own messages for a missing file are worse than the shell's, so the
// file is checked first.
long CheckFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == EACCES) return kShellAccessDenied;
    if (errno == ENOTDIR) return kShellPathNotFound;
    if (errno != ENOENT) return kUnknown;
    struct stat folder;
    const std::string parent = ParentFolder(path);
    return stat(parent.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) ? kShellFileNotFound
                                                                         : kShellPathNotFound;
  }
  return access(path.c_str(), R_OK) == 0 ? 0L : long{kShellAccessDenied};
}

// xdg-open's exit codes: 2 the file does not exist, 3 no program found for it,
// 4 the program it found failed.
long OpenResult(const ToolRun& run) {
  if (run.spawn_error == ENOENT) return kShellOpenProgramMissing;
  if (run.spawn_error != 0) return run.spawn_error == ENOMEM ? 8 : kUnknown;
  if (run.handed_over) return 0;
  switch (run.exit_code) {
    case 0:
      return 0;
    case 2:
      return kShellFileNotFound;
    case 3:
    case 4:
      return kShellNoAssociation;
    default:
      return kUnknown;
  }
}

// lp says what went wrong only in words; it is run with untranslated messages.
long PrintResult(const ToolRun& run) {
  if (run.spawn_error == ENOENT) return kShellPrintProgramMissing;
  if (run.spawn_error != 0) return run.spawn_error == ENOMEM ? 8 : kUnknown;
  if (run.exit_code == 0) return 0;
  const auto says = [&run](const char* words) { return run.err.find(words) != std::string::npos; };
  if (says("No default destination") || says("printer or class does not exist"))
    return kShellNoPrinter;
  if (says("scheduler not responding")) return kShellPrintServiceDown;
  if (says("Unsupported document-format")) return kShellNoAssociation;
  return kUnknown;
}

}  // namespace

const char* ShellResultText(long result) {
  for (const ResultText& entry : kResultTexts)
    if (entry.result == result) return entry.text;
  return "Unknown Error";
}

Status RunShellVerb(ShellVerb verb, const std::string& path) {
  if (path.empty()) return Failure(kShellFileNotFound);
  const std::string file = AbsolutePath(path);
  if (long checked = CheckFile(file); checked != 0) return Failure(checked);
  const long result = verb == ShellVerb::kOpen
                          ? OpenResult(RunTool({"xdg-open", file}, false, true))
                          : PrintResult(RunTool({"lp", "--", file}, true, false));
  return result == 0 ? Status::Ok() : Failure(result);
}
