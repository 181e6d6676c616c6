#include "platform/crash_dump_writer.h"

#include <cxxabi.h>
#include <errno.h>
#include <execinfo.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <exception>

#include "platform/civil_calendar.h"
#include "util/clock.h"

extern char** environ;

const char kCrashMessageCaption[] = "Program Terminated";

namespace {

constexpr char kMessageBeforePath[] =
    "This Program has terminated due to error.\n\nA debugging dump file has been created at ";
constexpr char kMessageAfterPath[] =
    ".\n\nIf you send us this file we can use it to fix the problem.";

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMaxFrames = 64;
constexpr size_t kAltStackSize = 64 * 1024;

// Everything the handler needs, prepared at installation so that nothing after the
// fault has to allocate or look anything up.
struct InstalledSettings {
  char temp_folder[PATH_MAX];
  char message_program[PATH_MAX];
  char executable[PATH_MAX];
  long utc_offset;
};
InstalledSettings g_settings;
alignas(16) char g_alt_stack[kAltStackSize];
void* g_frames[kMaxFrames];
char g_exception_what[512];

// The thread that is writing the dump (0: none yet). A second fault on that thread
// ends the process at once; other threads that fault meanwhile wait for it.
std::atomic<pid_t> g_handling_thread{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// Not the shared WriteAll of platform/file_io.h: everything the dump path calls stays
// async-signal-safe and in this file, where that can be checked at a glance.
void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    size -= static_cast<size_t>(written);
  }
}

// Buffered output built from plain writes: no stdio, no heap.
class SafeWriter {
 public:
  explicit SafeWriter(int fd) : fd_(fd) {}
  ~SafeWriter() { Flush(); }
  SafeWriter(const SafeWriter&) = delete;
  SafeWriter& operator=(const SafeWriter&) = delete;

  SafeWriter& Text(const char* text) {
    while (*text) Char(*text++);
    return *this;
  }
  SafeWriter& Decimal(long long value) {
    if (value < 0) {
      Char('-');
      return Unsigned(0ull - static_cast<unsigned long long>(value));
    }
    return Unsigned(static_cast<unsigned long long>(value));
  }
  SafeWriter& Unsigned(unsigned long long value) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value > 0);
    while (count > 0) Char(digits[--count]);
    return *this;
  }
  SafeWriter& Hex(unsigned long long value) {
    Text("0x");
    for (int shift = 60; shift >= 0; shift -= 4) Char("0123456789abcdef"[(value >> shift) & 0xf]);
    return *this;
  }
  void Flush() {
    WriteAll(fd_, buffer_, used_);
    used_ = 0;
  }

 private:
  void Char(char c) {
    if (used_ == sizeof buffer_) Flush();
    buffer_[used_++] = c;
  }
  int fd_;
  char buffer_[512];
  size_t used_ = 0;
};

// Appends `text` at `*at`, keeping one byte for the terminating zero.
bool Append(char** at, char* end, const char* text) {
  for (; *text; ++text) {
    if (*at + 1 >= end) return false;
    *(*at)++ = *text;
  }
  return true;
}

bool AppendUnsigned(char** at, char* end, unsigned value) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  char text[12];
  for (int i = 0; i < count; ++i) text[i] = digits[count - 1 - i];
  text[count] = '\0';
  return Append(at, end, text);
}

const char* SignalName(int signal_number) {
  switch (signal_number) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "signal";
  }
}

const char* SignalCodeMeaning(int signal_number, int code) {
  if (code <= 0) return "sent by a process";
  if (signal_number == SIGSEGV && code == SEGV_MAPERR) return "address not mapped";
  if (signal_number == SIGSEGV && code == SEGV_ACCERR) return "access not permitted";
  if (signal_number == SIGBUS && code == BUS_ADRALN) return "misaligned address";
  if (signal_number == SIGBUS && code == BUS_ADRERR) return "no such physical address";
  if (signal_number == SIGFPE && code == FPE_INTDIV) return "integer divide by zero";
  if (signal_number == SIGFPE && code == FPE_INTOVF) return "integer overflow";
  if (signal_number == SIGILL && code == ILL_ILLOPC) return "illegal opcode";
  return "see siginfo.h";
}

void WriteRegisters(SafeWriter& out, const ucontext_t* context) {
  out.Text("\nRegisters:\n");
  if (!context) {
    out.Text("  not available\n");
    return;
  }
#if defined(__x86_64__)
  static const char* const kNames[] = {"r8",  "r9",  "r10", "r11", "r12",    "r13",
                                       "r14", "r15", "rdi", "rsi", "rbp",    "rbx",
                                       "rdx", "rax", "rcx", "rsp", "rip",    "eflags",
                                       "csgsfs", "err", "trapno", "oldmask", "cr2"};
  static_assert(sizeof kNames / sizeof kNames[0] == NGREG);
  for (int i = 0; i < NGREG; ++i) {
    out.Text("  ").Text(kNames[i]).Text(" ").Hex(static_cast<unsigned long long>(
        context->uc_mcontext.gregs[i]));
    out.Text(i % 3 == 2 || i == NGREG - 1 ? "\n" : "");
  }
#elif defined(__aarch64__)
  for (int i = 0; i < 31; ++i) {
    out.Text("  x").Unsigned(static_cast<unsigned>(i)).Text(" ").Hex(context->uc_mcontext.regs[i]);
    out.Text(i % 3 == 2 ? "\n" : "");
  }
  out.Text("\n  sp ").Hex(context->uc_mcontext.sp).Text("  pc ").Hex(context->uc_mcontext.pc);
  out.Text("  pstate ").Hex(context->uc_mcontext.pstate).Text("\n");
#else
  out.Text("  not recorded on this processor\n");
#endif
}

void CopyMemoryMap(SafeWriter& out, int fd) {
  out.Text("\nMemory map:\n").Flush();
  int maps = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (maps < 0) {
    out.Text("  not readable\n");
    return;
  }
  char chunk[4096];
  for (;;) {
    ssize_t got = read(maps, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    WriteAll(fd, chunk, static_cast<size_t>(got));
  }
  close(maps);
}

void WriteDump(int fd, int signal_number, const siginfo_t* info, const ucontext_t* context,
               const char* exception_type, const char* exception_what, time_t now) {
  SafeWriter out(fd);
  out.Text("Calvaro crash dump\n");
  out.Text("Program: ").Text(g_settings.executable).Text("\n");
  out.Text("Process: ").Unsigned(static_cast<unsigned>(getpid()));
  out.Text("  Thread: ").Unsigned(static_cast<unsigned>(gettid())).Text("\n");
  out.Text("Time: ").Decimal(now).Text(" (seconds since 1970-01-01 UTC)\n");
  if (info) {
    out.Text("Signal: ").Decimal(signal_number).Text(" ").Text(SignalName(signal_number)).Text("\n");
    out.Text("Code: ").Decimal(info->si_code).Text(" (");
    out.Text(SignalCodeMeaning(signal_number, info->si_code)).Text(")\n");
    if (info->si_code > 0) {
      out.Text("Fault address: ").Hex(reinterpret_cast<unsigned long long>(info->si_addr)).Text("\n");
    } else {
      out.Text("Sender: ").Decimal(info->si_pid).Text("\n");
    }
  } else {
    out.Text("Reason: std::terminate\n");
    out.Text("Exception: ").Text(exception_type ? exception_type : "(none)").Text("\n");
    if (exception_what) out.Text("What: ").Text(exception_what).Text("\n");
  }
  WriteRegisters(out, context);

  // The first frames are this handler; the program counter above says where the
  // fault was. Symbols come from the dynamic symbol table, addresses map onto the
  // memory map below for offline symbolisation.
  out.Text("\nBacktrace:\n").Flush();
  int frames = backtrace(g_frames, kMaxFrames);
  backtrace_symbols_fd(g_frames, frames, fd);
  CopyMemoryMap(out, fd);
}

void WriteMessageToStderr(const char* dump_path) {
  SafeWriter out(STDERR_FILENO);
  out.Text(kCrashMessageCaption).Text(": ").Text(kMessageBeforePath).Text(dump_path);
  out.Text(kMessageAfterPath).Text("\n");
}

// Shows the message from a new process and waits until the user has closed it.
void ShowMessage(const char* dump_path) {
  if (g_settings.message_program[0] != '\0') {
    pid_t child = _Fork();
    if (child == 0) {
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      char* argv[] = {g_settings.message_program, const_cast<char*>(dump_path), nullptr};
      execve(g_settings.message_program, argv, environ);
      WriteMessageToStderr(dump_path);
      _exit(127);
    }
    if (child > 0) {
      int status = 0;
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      return;
    }
  }
  WriteMessageToStderr(dump_path);
}

[[noreturn]] void HandleCrash(int signal_number, const siginfo_t* info, const ucontext_t* context,
                              const char* exception_type, const char* exception_what) {
  const int exit_status = CrashExitStatus(signal_number);
  const pid_t me = gettid();
  pid_t expected = 0;
  if (!g_handling_thread.compare_exchange_strong(expected, me)) {
    if (expected == me) _exit(exit_status);  // a fault while writing the dump
    for (;;) pause();                        // the first thread ends the process
  }

  const time_t now = CurrentTime();
  unsigned year = 0, day_of_year = 0;
  YearAndDayOfYear(now, g_settings.utc_offset, &year, &day_of_year);
  char path[PATH_MAX];
  if (!FormatCrashDumpPath(path, sizeof path, g_settings.temp_folder, year, day_of_year,
                           static_cast<unsigned>(getpid()))) {
    _exit(exit_status);
  }
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd >= 0) {
    WriteDump(fd, signal_number, info, context, exception_type, exception_what, now);
    close(fd);
  }
  ShowMessage(path);
  _exit(exit_status);
}

void OnFatalSignal(int signal_number, siginfo_t* info, void* context) {
  HandleCrash(signal_number, info, static_cast<const ucontext_t*>(context), nullptr, nullptr);
}

[[noreturn]] void OnTerminate() {
  const char* type_name = nullptr;
  const char* what = nullptr;
  if (const std::type_info* type = abi::__cxa_current_exception_type()) {
    type_name = type->name();
    try {
      throw;
    } catch (const std::exception& e) {
      strncpy(g_exception_what, e.what(), sizeof g_exception_what - 1);
      what = g_exception_what;
    } catch (...) {
    }
  }
  ucontext_t context;
  getcontext(&context);
  HandleCrash(SIGABRT, nullptr, &context, type_name, what);
}

bool CopySetting(char* out, size_t capacity, const std::string& value) {
  if (value.size() >= capacity || value.find('\0') != std::string::npos) return false;
  memcpy(out, value.c_str(), value.size() + 1);
  return true;
}

}  // namespace

std::string CrashMessageText(const std::string& dump_path) {
  return kMessageBeforePath + dump_path + kMessageAfterPath;
}

int CrashExitStatus(int signal_number) { return 128 + signal_number; }

bool FormatCrashDumpPath(char* out, size_t capacity, const char* temp_folder, unsigned year,
                         unsigned day_of_year, unsigned pid) {
  if (capacity == 0) return false;
  char* at = out;
  char* end = out + capacity;
  bool fits = Append(&at, end, temp_folder) && Append(&at, end, "ZORM-") &&
              AppendUnsigned(&at, end, year) && Append(&at, end, "-") &&
              AppendUnsigned(&at, end, day_of_year) && Append(&at, end, "-") &&
              AppendUnsigned(&at, end, pid) && Append(&at, end, ".dmp");
  *(fits ? at : out) = '\0';
  return fits;
}

void YearAndDayOfYear(long long seconds, long utc_offset, unsigned* year, unsigned* day_of_year) {
  // The calendar functions are plain arithmetic, so they are safe in a signal handler.
  const long long kUnixEpochOleDay = 25569;  // 1 January 1970
  long long local = seconds + utc_offset;
  long long day = local / 86400 - (local % 86400 < 0 ? 1 : 0) + kUnixEpochOleDay;
  const CivilDate date = CivilFromOleDay(day);
  *year = static_cast<unsigned>(date.year);
  *day_of_year = static_cast<unsigned>(day - OleDayFromCivil(date.year, 1, 1));
}

Status InstallCrashDumpWriter(const CrashDumpSettings& settings) {
  if (!CopySetting(g_settings.temp_folder, sizeof g_settings.temp_folder, settings.temp_folder) ||
      !CopySetting(g_settings.message_program, sizeof g_settings.message_program,
                   settings.message_program))
    return Status::Error("crash dump settings: a path is too long");
  ssize_t length = readlink("/proc/self/exe", g_settings.executable,
                            sizeof g_settings.executable - 1);
  g_settings.executable[length > 0 ? length : 0] = '\0';

  // The local offset is taken now: localtime_r may take locks, so it cannot run
  // after the fault.
  time_t now = CurrentTime();
  struct tm local;
  g_settings.utc_offset = localtime_r(&now, &local) ? local.tm_gmtoff : 0;

  // The first backtrace() loads the unwinder; do that now, not with a broken heap.
  backtrace(g_frames, 1);

  stack_t alt_stack{};
  alt_stack.ss_sp = g_alt_stack;
  alt_stack.ss_size = sizeof g_alt_stack;
  if (sigaltstack(&alt_stack, nullptr) != 0)
    return Status::Error(std::string("crash dump: sigaltstack: ") + strerror(errno));
  struct sigaction action{};
  action.sa_sigaction = OnFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kFatalSignals) {
    if (sigaction(signal_number, &action, nullptr) != 0)
      return Status::Error(std::string("crash dump: sigaction: ") + strerror(errno));
  }
  std::set_terminate(OnTerminate);
  return Status::Ok();
}
