// Runs a program of ours that crashes on purpose and checks what the crash handler
// leaves behind: the dump file, the message process, the exit status.
#include "framework/crash_handler.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

namespace {

// Runs crash_on_purpose with `args`.
ProgramRun RunCrashProgram(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {CRASH_ON_PURPOSE_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

// A message program that records its argument, and whether a display was passed on.
std::string WriteRecordingMessageProgram(const ScopedTestHome& home, const std::string& body) {
  const std::string path = home.path() + "/record-message";
  EXPECT_TRUE(WriteWholeFile(path, "#!/bin/sh\n" + body + "\n"));
  chmod(path.c_str(), 0755);
  return path;
}

std::string DumpPath(const ScopedTestHome& home, const char* year_and_day, pid_t pid) {
  return home.temp_dir() + "/ZORM-" + year_and_day + "-" + std::to_string(pid) + ".dmp";
}

}  // namespace

TEST(CrashHandlerTest, EachWayOfDyingLeavesADumpAMessageAndAFailureStatus) {
  struct Case {
    const char* how;
    int exit_signal;                        // exit status is 128 + this
    std::vector<std::string> dump_lines;    // each must appear in the dump
  } cases[] = {
      {"null-write", SIGSEGV,
       {"Signal: 11 SIGSEGV\n", "Code: 1 (address not mapped)\n",
        "Fault address: 0x0000000000000000\n", "CrashByNullWrite"}},
      {"abort", SIGABRT, {"Signal: 6 SIGABRT\n", "(sent by a process)\n", "CrashByAbort"}},
      {"exception", SIGABRT,
       {"Reason: std::terminate\n", "Exception: St13runtime_error\n", "What: the demo failure\n",
        "CrashByUncaughtException"}},
      {"divide", SIGFPE, {"Signal: 8 SIGFPE\n", "(integer divide by zero)\n", "CrashByDivideByZero"}},
      // Caught on the alternate stack.
      {"stack", SIGSEGV, {"Signal: 11 SIGSEGV\n", "CrashByStackOverflow"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    ScopedTestHome home;
    home.SetEnv("TZ", "UTC0");
    const std::string record = home.path() + "/message-argument";
    const std::string program =
        WriteRecordingMessageProgram(home, "printf '%s' \"$1\" > '" + record + "'");
    // 2026-12-31 12:00 UTC: day 364 of 2026.
    ProgramRun outcome = RunCrashProgram({c.how, program, "1798718400"});
    ASSERT_FALSE(outcome.hung);
    ASSERT_TRUE(WIFEXITED(outcome.status)) << outcome.status;
    EXPECT_EQ(128 + c.exit_signal, WEXITSTATUS(outcome.status));

    const std::string dump_path = DumpPath(home, "2026-364", outcome.pid);
    EXPECT_EQ(dump_path, ReadWholeFile(record)) << "the message program names the dump";
    const std::string dump = ReadWholeFile(dump_path);
    ASSERT_FALSE(dump.empty()) << dump_path;
    EXPECT_EQ(0u, dump.find("Calvaro crash dump\nProgram: " CRASH_ON_PURPOSE_PATH "\nProcess: " +
                            std::to_string(outcome.pid)));
    for (const std::string& line : c.dump_lines)
      EXPECT_NE(std::string::npos, dump.find(line)) << line << " in\n" << dump.substr(0, 2000);
    // Registers, backtrace, then the memory map with the program and its stack.
    const size_t registers = dump.find("\nRegisters:\n  r8 0x");
    const size_t backtrace = dump.find("\nBacktrace:\n");
    const size_t map = dump.find("\nMemory map:\n");
    EXPECT_NE(std::string::npos, dump.find(" rip 0x"));
    EXPECT_LT(registers, backtrace);
    EXPECT_LT(backtrace, map);
    ASSERT_NE(std::string::npos, map);
    EXPECT_NE(std::string::npos, dump.find(CRASH_ON_PURPOSE_PATH "\n", map));
    EXPECT_NE(std::string::npos, dump.find("[stack]\n", map));
  }
}

TEST(CrashHandlerTest, DumpIsNamedByTheLocalDate) {
  struct Case {
    const char* tz;
    const char* when;
    const char* year_and_day;
  } cases[] = {
      {"UTC0", "1767225600", "2026-0"},    // 1 January 2026
      {"UTC0", "1767225599", "2025-364"},  // a second before
      {"JST-9", "1798747200", "2027-0"},   // 31 December 20:00 UTC is 1 January in Tokyo
      {"EST5", "1767225600", "2025-364"},  // and still 31 December in New York
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tz) + " " + c.when);
    ScopedTestHome home;
    home.SetEnv("TZ", c.tz);
    ProgramRun outcome = RunCrashProgram({"abort", WriteRecordingMessageProgram(home, "true"), c.when});
    ASSERT_FALSE(outcome.hung);
    EXPECT_EQ(0, access(DumpPath(home, c.year_and_day, outcome.pid).c_str(), R_OK));
  }
}

TEST(CrashHandlerTest, MessageGoesToStderrWithoutADisplayOrAMessageProgram) {
  struct Case {
    const char* name;
    std::string message_program;
  } cases[] = {
      {"the real message program without a display", CRASH_MESSAGE_PATH},
      {"a message program that is missing", "/nonexistent/zorm-crash-message"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTestHome home;
    home.SetEnv("TZ", "UTC0");
    home.SetEnv("DISPLAY", nullptr);
    home.SetEnv("WAYLAND_DISPLAY", nullptr);
    ProgramRun outcome = RunCrashProgram({"null-write", c.message_program, "1767225600"});
    ASSERT_FALSE(outcome.hung);
    EXPECT_EQ(128 + SIGSEGV, WEXITSTATUS(outcome.status));
    EXPECT_EQ("Program Terminated: This Program has terminated due to error.\n\n"
              "A debugging dump file has been created at " +
                  DumpPath(home, "2026-0", outcome.pid) +
                  ".\n\nIf you send us this file we can use it to fix the problem.\n",
              outcome.err);
  }
}

TEST(CrashHandlerTest, DumpThatCannotBeCreatedStillShowsTheMessageAndEnds) {
  ScopedTestHome home;
  home.SetEnv("TZ", "UTC0");
  home.SetEnv("TMPDIR", (home.path() + "/missing").c_str());
  const std::string record = home.path() + "/message-argument";
  ProgramRun outcome = RunCrashProgram(
      {"null-write", WriteRecordingMessageProgram(home, "printf '%s' \"$1\" > '" + record + "'"),
             "1767225600"});
  ASSERT_FALSE(outcome.hung);
  EXPECT_EQ(128 + SIGSEGV, WEXITSTATUS(outcome.status));
  EXPECT_EQ(home.path() + "/missing/ZORM-2026-0-" + std::to_string(outcome.pid) + ".dmp",
            ReadWholeFile(record));
}

TEST(CrashHandlerTest, SecondSignalDuringTheHandlerEndsTheProcess) {
  ScopedTestHome home;
  // The message program faults its parent while the handler waits for it.
  ProgramRun outcome = RunCrashProgram(
      {"abort", WriteRecordingMessageProgram(home, "kill -SEGV $PPID")});
  ASSERT_FALSE(outcome.hung);
  ASSERT_TRUE(WIFEXITED(outcome.status));
  EXPECT_EQ(128 + SIGSEGV, WEXITSTATUS(outcome.status));
}
