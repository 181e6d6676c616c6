// Helpers for the report writer's tests: a clean environment with the clock pinned
// and the time zone at UTC, an output stream in memory, a captured standard stream.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "report/report.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

// Thursday, 4 March 2021, 15:30:00 UTC.
constexpr time_t kReportTestTime = 1614871800;
constexpr const char* kReportTestTimeText = "Thursday, March 04, 2021 - 15:30:00 (UTC)";

class ReportTestEnv : public ScopedTestHome {
 public:
  ReportTestEnv() {
    for (const char* name :
         {"REQUEST_URI", "REQUEST_METHOD", "QUERY_STRING", "CONTENT_LENGTH", "HTTP_COOKIE",
          "ZORMREPORTFORMAT", "ZORMREPORTCOLUMNDELETE", "ZORMCSVNOHEADER", "ZORMREPORTHTMLLOGO",
          "ZORMPDFLOGOPATH", "ZORMPDFOUTPUTPATH", "ZORMPDFORIENTATION", "ZORMPDFPAGESIZE",
          "ZORMPDFBLANKPAGETEXT", "ZORMEXCELOUTPUTPATH"})
      SetEnv(name, nullptr);
    SetEnv("TZ", "UTC");
    tzset();
  }
  std::string Path(const std::string& name) const { return path() + "/" + name; }

 private:
  ScopedFixedTime clock_{kReportTestTime};
};

// What is written to a stdio stream in memory (Report::output), or, with a file
// descriptor, to standard output (1) or standard error (2) until Text().
class CapturedStream {
 public:
  CapturedStream() : file_(open_memstream(&data_, &size_)) {}
  explicit CapturedStream(int fd) : fd_(fd), file_(tmpfile()), saved_(dup(fd)) {
    fflush(nullptr);
    dup2(fileno(file_), fd);
  }
  ~CapturedStream() {
    Text();
    fclose(file_);
    free(data_);
  }
  FILE* stream() { return file_; }
  std::string Text() {
    fflush(fd_ < 0 ? file_ : nullptr);
    if (fd_ < 0) return std::string(data_, size_);
    if (saved_ >= 0) {
      dup2(saved_, fd_);
      close(saved_);
      saved_ = -1;
    }
    std::string text(lseek(fileno(file_), 0, SEEK_END), '\0');
    return pread(fileno(file_), text.data(), text.size(), 0) < 0 ? "" : text;
  }

 private:
  int fd_ = -1;
  char* data_ = nullptr;
  size_t size_ = 0;
  FILE* file_;
  int saved_ = -1;
};

// Runs `write` on a fresh report, set up from the environment, whose output goes to
// memory, closes it and returns what it wrote.
inline std::string WriteReportText(const std::function<void(Report&)>& write) {
  CapturedStream out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  write(report);
  report.Close();
  return out.Text();
}
