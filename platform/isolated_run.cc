#include "platform/isolated_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"

namespace {

void WriteAllOrExit(int fd, const std::string& bytes) {
  if (!WriteAll(fd, bytes)) _exit(3);  // the parent is gone
}

[[noreturn]] void RunChild(int fd, pid_t parent,
                           const std::function<void(const ChildMessageSender&)>& work) {
  // The work is only ever wanted by the parent: end with it, also when it died
  // before this line.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(3);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS, SIGINT, SIGTERM})
    signal(sig, SIG_DFL);
  signal(SIGPIPE, SIG_IGN);
  work([fd](const ChildMessage& message) { WriteAllOrExit(fd, EncodeChildMessage(message)); });
  _exit(0);
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

std::string DescribeEnd(int status) {
  if (WIFSIGNALED(status))
    return std::string("it stopped on signal ") + strsignal(WTERMSIG(status));
  return "it ended with status " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

Status RunIsolated(const std::function<void(const ChildMessageSender& send)>& work,
                   const std::function<bool(const ChildMessage&)>& receive,
                   const std::function<bool()>& idle, int silence_limit_seconds) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0)
    return Status::Error(std::string("cannot make a pipe: ") + strerror(errno), kIsolatedDied);
  const pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    Status failed =
        Status::Error(std::string("cannot start a process: ") + strerror(errno), kIsolatedDied);
    close(fds[0]);
    close(fds[1]);
    return failed;
  }
  if (pid == 0) {
    close(fds[0]);
    RunChild(fds[1], parent, work);
  }
  close(fds[1]);

  ChildMessageDecoder decoder;
  auto kill_child = [&](Status end) {
    kill(pid, SIGKILL);
    WaitFor(pid);
    close(fds[0]);
    return end;
  };
  const Status stopped = Status::Error("stopped", kIsolatedStopped);
  int silent_seconds = 0;
  while (true) {
    pollfd poll_fd{fds[0], POLLIN, 0};
    int ready = poll(&poll_fd, 1, 1000);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) {
      if (++silent_seconds >= silence_limit_seconds)
        return kill_child(Status::Error("it stopped answering", kIsolatedDied));
      if (idle && !idle()) return kill_child(stopped);
      continue;
    }
    silent_seconds = 0;
    char buffer[65536];
    ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    decoder.Append(buffer, static_cast<size_t>(got));
    ChildMessage message;
    while (decoder.Next(&message))
      if (!receive(message)) return kill_child(stopped);
    if (decoder.broken())
      return kill_child(Status::Error("it sent unreadable messages", kIsolatedDied));
  }
  close(fds[0]);
  int status = WaitFor(pid);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !decoder.pending()) return Status::Ok();
  return Status::Error(DescribeEnd(status), kIsolatedDied);
}
