// The crash dump writer: when the program dies of a fatal signal (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL, SIGABRT) or through std::terminate, it writes a text dump that a
// developer can read (signal and code, fault address, registers, backtrace, memory
// map) to "<temp folder>ZORM-<year>-<day of year>-<pid>.dmp", has a fresh process
// tell the user where the file is, and ends the process with a failure status.
//
// Everything that runs after the fault is async-signal-safe: paths and settings are
// copied into static buffers at installation, and the message comes from a new
// process (fork and exec), so a broken heap or a held lock cannot stop it. A fault
// inside the writer's own work ends the process at once instead of hanging.
//
// Install once, early, from the main thread. Not for concurrent installation.
#pragma once

#include <cstddef>
#include <string>

#include "util/status.h"

struct CrashDumpSettings {
  // Folder for the dump, ending in '/'.
  std::string temp_folder;
  // Program run as `message_program <dump path>` to tell the user; it waits for the
  // user. Empty, or a program that cannot be started: the message goes to stderr.
  std::string message_program;
};

// The caption and text the user sees after a crash.
extern const char kCrashMessageCaption[];
std::string CrashMessageText(const std::string& dump_path);

// Installs the handlers for the fatal signals (on an alternate stack, so a stack
// overflow is caught too) and for std::terminate. Fails when a handler cannot be
// installed or a setting does not fit its buffer.
Status InstallCrashDumpWriter(const CrashDumpSettings& settings);

// Exit status of a process that crashed with `signal_number`: 128 + the number, as
// shells report a death by that signal.
int CrashExitStatus(int signal_number);

// Async-signal-safe pieces, public so they can be checked on their own.

// Writes "<temp_folder>ZORM-<year>-<day_of_year>-<pid>.dmp" and its terminating zero
// into `out`. Returns false (and leaves `out` an empty string when capacity > 0) if it
// does not fit in `capacity` bytes.
bool FormatCrashDumpPath(char* out, size_t capacity, const char* temp_folder, unsigned year,
                         unsigned day_of_year, unsigned pid);

// The calendar year and the day of the year counted from 0 (1 January is 0) of the
// moment `seconds` since the epoch, seen at `utc_offset` seconds east of UTC.
void YearAndDayOfYear(long long seconds, long utc_offset, unsigned* year, unsigned* day_of_year);
