#include "tests/support/run_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/support/test_env.h"

extern char** environ;

ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& work_dir,
                      int time_limit_seconds) {
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  // Anonymous files outside the test's own folders, which a test may make unusable.
  FILE* out = tmpfile();
  FILE* err = tmpfile();
  if (!out || !err) abort();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fileno(out), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(err), STDERR_FILENO);
  if (!work_dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, work_dir.c_str());
  ProgramRun run;
  if (posix_spawn(&run.pid, pointers[0], &actions, nullptr, pointers.data(), environ) != 0) {
    run.status = -1;
  } else {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(time_limit_seconds);
    while (waitpid(run.pid, &run.status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(run.pid, SIGKILL);
        waitpid(run.pid, &run.status, 0);
        run.hung = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = ReadWholeFile("/proc/self/fd/" + std::to_string(fileno(out)));
  run.err = ReadWholeFile("/proc/self/fd/" + std::to_string(fileno(err)));
  fclose(out);
  fclose(err);
  return run;
}
