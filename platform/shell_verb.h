// Hands a file to the desktop: "open" shows it in the program associated with its
// type (xdg-open), "print" sends it to the default printer (CUPS lp). Both tools are
// found on PATH and run directly, never through a shell, with the path as a single
// argument. The caller waits until the tool has finished; a failure comes back as
// the shell's result number and its text (ShellResultText), so the user reads the
// same reasons on every platform. Calls keep no state; any thread may use them.
#pragma once

#include <string>

#include "util/status.h"

enum class ShellVerb { kOpen, kPrint };

// Result numbers of the shell that this platform produces, and our own numbers for
// what the shell has no number for (kept above the shell's range).
enum : long {
  kShellFileNotFound = 2,
  kShellPathNotFound = 3,
  kShellAccessDenied = 5,
  kShellNoAssociation = 31,
  kShellOpenProgramMissing = 1001,
  kShellPrintProgramMissing = 1002,
  kShellNoPrinter = 1003,
  kShellPrintServiceDown = 1004,
};

// The text for a shell result number; "Unknown Error" for a number without one.
const char* ShellResultText(long result);

// Runs `verb` on the file at `path` and waits for the tool. Ok when the tool took
// the file; otherwise an error whose code is the result number and whose message is
// ShellResultText of it.
Status RunShellVerb(ShellVerb verb, const std::string& path);
