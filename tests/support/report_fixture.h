// Helpers for the report writer's tests: a clean environment with the clock pinned
// and the time zone at UTC, an output stream in memory, a captured standard stream.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "report/report.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

// Thursday, 4 March 2021, 15:30:00 UTC.
constexpr time_t kReportTestTime = 1614871800;
constexpr const char* kReportTestTimeText = "Thursday, March 04, 2021 - 15:30:00 (UTC)";

class ReportTestEnv {
 public:
  ReportTestEnv() : clock_(kReportTestTime) {
    for (const char* name :
         {"REQUEST_URI", "REQUEST_METHOD", "QUERY_STRING", "CONTENT_LENGTH", "CONTENT_TYPE",
          "HTTP_COOKIE", "ZORMREPORTFORMAT", "ZORMREPORTCOLUMNDELETE", "ZORMCSVNOHEADER",
          "ZORMREPORTHTMLLOGO", "ZORMPDFLOGOPATH", "ZORMPDFOUTPUTPATH", "ZORMPDFORIENTATION",
          "ZORMPDFPAGESIZE", "ZORMPDFBLANKPAGETEXT", "ZORMEXCELOUTPUTPATH"})
      home_.SetEnv(name, nullptr);
    home_.SetEnv("TZ", "UTC");
    tzset();
  }
  void Set(const char* name, const char* value) { home_.SetEnv(name, value); }
  std::string Path(const std::string& name) const { return home_.path() + "/" + name; }
  const ScopedTestHome& home() const { return home_; }

 private:
  ScopedTestHome home_;
  ScopedFixedTime clock_;
};

// A stdio stream into memory, for Report::output.
class MemoryOutput {
 public:
  MemoryOutput() : stream_(open_memstream(&data_, &size_)) {}
  ~MemoryOutput() {
    fclose(stream_);
    free(data_);
  }
  MemoryOutput(const MemoryOutput&) = delete;
  MemoryOutput& operator=(const MemoryOutput&) = delete;

  FILE* stream() { return stream_; }
  std::string Text() {
    fflush(stream_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  FILE* stream_;
};

// Sends standard output (1) or standard error (2) into a temporary file until Text().
class CapturedStream {
 public:
  explicit CapturedStream(int fd = 1) : fd_(fd), file_(tmpfile()) {
    fflush(fd == 1 ? stdout : stderr);
    saved_ = dup(fd);
    dup2(fileno(file_), fd);
  }
  ~CapturedStream() {
    Text();
    fclose(file_);
  }
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;

  const std::string& Text() {
    if (saved_ < 0) return text_;
    fflush(fd_ == 1 ? stdout : stderr);
    dup2(saved_, fd_);
    close(saved_);
    saved_ = -1;
    rewind(file_);
    char buffer[65536];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, file_)) > 0;) text_.append(buffer, got);
    return text_;
  }

 private:
  int fd_;
  FILE* file_;
  int saved_ = -1;
  std::string text_;
};
