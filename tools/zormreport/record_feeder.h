// Feeds the lines of zormreport's input to a report: records, and the directives
// that start with "#!".
#pragma once

#include <optional>
#include <string>

#include "report/report.h"

class RecordFeeder {
 public:
  // `report` must have its columns; `title` and `notes` are the first Header's.
  RecordFeeder(Report* report, std::string title, std::optional<std::string> notes);
  RecordFeeder(const RecordFeeder&) = delete;
  RecordFeeder& operator=(const RecordFeeder&) = delete;

  // One input line without its line end. Returns false for a line that starts with
  // "#!" but names no known directive; such a line is left out.
  bool Line(const std::string& line);
  // Starts the report if no line did, ends the section unless the input ended with
  // "#!trailer", and closes the report.
  void Finish();

 private:
  void StartOnce();
  void Header(const std::string& title);

  Report* report_;
  std::string title_;
  std::optional<std::string> notes_;
  bool started_ = false;
  bool section_has_records_ = false;
  bool ended_with_trailer_ = false;
};
