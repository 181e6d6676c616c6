// Helpers for the report writer's tests: a clean environment with the clock pinned
// and the time zone at UTC, and an output stream in memory.
#pragma once

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
          "ZORMREPORTHTMLLOGO"})
      home_.SetEnv(name, nullptr);
    home_.SetEnv("TZ", "UTC");
    tzset();
  }
  void Set(const char* name, const char* value) { home_.SetEnv(name, value); }
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
