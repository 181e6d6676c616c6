#include "platform/interrupt_guard.h"

#include <signal.h>

#include <mutex>

namespace {

volatile sig_atomic_t g_signal = 0;
std::mutex g_mutex;
int g_guards = 0;
struct sigaction g_old_int, g_old_term;

void Mark(int signal_number) { g_signal = signal_number; }

}  // namespace

InterruptGuard::InterruptGuard() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_guards++ > 0) return;
  g_signal = 0;
  struct sigaction mark = {};
  mark.sa_handler = Mark;
  sigemptyset(&mark.sa_mask);
  sigaction(SIGINT, &mark, &g_old_int);
  sigaction(SIGTERM, &mark, &g_old_term);
  // A signal the process was told to ignore (nohup, a background job) stays ignored.
  if (g_old_int.sa_handler == SIG_IGN) sigaction(SIGINT, &g_old_int, nullptr);
  if (g_old_term.sa_handler == SIG_IGN) sigaction(SIGTERM, &g_old_term, nullptr);
}

InterruptGuard::~InterruptGuard() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (--g_guards > 0) return;
  sigaction(SIGINT, &g_old_int, nullptr);
  sigaction(SIGTERM, &g_old_term, nullptr);
  if (int caught = g_signal; caught != 0) {
    g_signal = 0;
    raise(caught);
  }
}

bool InterruptGuard::Interrupted() { return g_signal != 0; }
