#include "platform/tool_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

// Without a desktop session a tool such as xdg-open runs the program it found in
// the foreground and ends only when the user closes it. A tool still running after this long has
// handed its work over; the caller's window must not wait on the user's program.
constexpr int kHandOverMilliseconds = 3000;

}  // namespace

ToolRun RunTool(const std::vector<std::string>& argv, bool c_messages, bool hand_over) {
  ToolRun run;
  FILE* err_file = tmpfile();
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> env_strings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (c_messages && (strncmp(*entry, "LC_ALL=", 7) == 0 || strncmp(*entry, "LANGUAGE=", 9) == 0))
      continue;
    env_strings.emplace_back(*entry);
  }
  if (c_messages) env_strings.emplace_back("LC_ALL=C");
  std::vector<char*> env;
  for (std::string& entry : env_strings) env.push_back(entry.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (err_file != nullptr) {
    posix_spawn_file_actions_adddup2(&actions, fileno(err_file), STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fileno(err_file));
  }
  pid_t pid = -1;
  run.spawn_error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (run.spawn_error == 0) {
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; ended == 0; waited += 20) {
      if (hand_over && waited >= kHandOverMilliseconds) break;
      ended = waitpid(pid, &status, hand_over ? WNOHANG : 0);
      if (ended < 0 && errno == EINTR) ended = 0;
      if (ended == 0 && hand_over) usleep(20 * 1000);
    }
    if (ended == 0) {
      run.handed_over = true;
      std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
      }).detach();
    } else if (ended > 0 && WIFEXITED(status)) {
      run.exit_code = WEXITSTATUS(status);
    }
  }
  if (err_file != nullptr) {
    rewind(err_file);
    char buffer[1024];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, err_file)) > 0;) run.err.append(buffer, n);
    fclose(err_file);
  }
  return run;
}
