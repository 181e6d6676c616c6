// crash_on_purpose HOW [MESSAGE-PROGRAM [FIXED-TIME]]: installs the framework's crash
// handler and then dies the way HOW says, for the crash handler's tests. With
// MESSAGE-PROGRAM "-" the default message program is used; FIXED-TIME (seconds
// since the epoch) pins the clock that names the dump.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "framework/crash_handler.h"
#include "util/clock.h"

// Exported (the program links with -rdynamic) so the dump's backtrace names them.
// The compiler cannot see that this is null, so the write really happens.
int* volatile g_nowhere = nullptr;

// The sanitizers would report the fault themselves; the crash handler is under test.
__attribute__((noinline, no_sanitize("undefined"))) void CrashByNullWrite() { *g_nowhere = 42; }

// Called through a pointer the compiler cannot follow, so the return address stays
// inside this function and the backtrace names it.
void (*volatile g_abort)() = abort;

__attribute__((noinline)) void CrashByAbort() { g_abort(); }

__attribute__((noinline)) void CrashByUncaughtException() {
  throw std::runtime_error("the demo failure");
}

__attribute__((noinline, no_sanitize("undefined"))) int CrashByDivideByZero(int divisor) {
  volatile int d = divisor;
  return 7 / d;
}

#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int CrashByStackOverflow(int depth) {
  volatile char pad[1024];
  pad[0] = static_cast<char>(depth);
  return CrashByStackOverflow(depth + 1) + pad[0];
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s null-write|abort|exception|divide|stack [program [time]]\n", argv[0]);
    return 2;
  }
  if (argc > 3) SetFixedTime(static_cast<time_t>(strtoll(argv[3], nullptr, 10)));
  bool installed = argc > 2 && strcmp(argv[2], "-") != 0 ? InstallCrashHandler(argv[2])
                                                         : InstallCrashHandler();
  if (!installed) return 3;

  const std::string how = argv[1];
  if (how == "null-write") CrashByNullWrite();
  if (how == "abort") CrashByAbort();
  if (how == "exception") CrashByUncaughtException();
  if (how == "divide") return CrashByDivideByZero(0);
  if (how == "stack") return CrashByStackOverflow(0);
  return 0;
}
