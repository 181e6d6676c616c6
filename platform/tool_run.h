// Runs a desktop tool found on PATH (xdg-open, lp, xdg-email) directly, never
// through a shell, so no argument is ever read as shell syntax. Used by the
// pieces that hand something to the desktop; keeps no state, any thread may call.
#pragma once

#include <string>
#include <vector>

struct ToolRun {
  int spawn_error = 0;       // errno of a failed start (ENOENT: not on PATH), else 0
  int exit_code = -1;        // -1 when the tool did not end normally
  bool handed_over = false;  // still running at the hand-over time
  std::string err;           // what it wrote to standard error
};

// Runs argv[0] from PATH with standard output discarded and standard error kept in
// an unnamed file (not a pipe: a program the tool starts may inherit it and live
// on, and the wait must end with the tool). `c_messages` asks for untranslated
// messages; `hand_over` stops waiting after a few seconds, since without a
// desktop session a tool may run the program it starts in the foreground; the
// tool is then reaped later.
ToolRun RunTool(const std::vector<std::string>& argv, bool c_messages, bool hand_over);
