// Runs a program of ours as a child process for a test and collects what it did.
// A program that has not ended within the time limit is killed and reported as
// hung, so a hang fails the test instead of stopping the run.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProgramRun {
  pid_t pid = -1;
  int status = 0;     // as waitpid reports it
  bool hung = false;  // killed at the time limit
  std::string out;    // standard output
  std::string err;    // standard error
};

// Runs `argv` (argv[0] is the program's path) in the current environment, in
// `work_dir` when it is not empty.
ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& work_dir = "",
                      int time_limit_seconds = 60);
