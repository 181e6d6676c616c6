// The command line of zormreport.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ZormreportColumn {
  std::string name;
  uint64_t width = 0;
  uint32_t flags = 0;  // ReportColumnFlag bits
};

struct ZormreportOptions {
  std::string title;
  std::optional<std::string> notes;  // no notes without --notes
  uint16_t report_number = 0;
  std::vector<ZormreportColumn> columns;
  std::string input;   // empty: standard input
  std::string output;  // empty: standard output
  bool help = false;
  bool version = false;
};

// Reads the arguments (argv[0] is the program). Options take their value as the
// next argument or after '=' (--title=Stock). Returns false with a message in
// `error` for unknown options, missing values, malformed columns, no columns, and
// columns beyond the report writer's limits (32 columns, names of 127 characters,
// lines of at most 2047 characters). With --help or --version the other
// requirements are not checked.
bool ParseZormreportArguments(int argc, const char* const* argv, ZormreportOptions* options,
                              std::string* error);

// Parses NAME:WIDTH[:FLAGS]; the name may itself contain ':'. FLAGS letters:
// r RightAlign, n Numeric, t Tags, f Fixed, p PlainNumber.
bool ParseColumnSpec(const std::string& spec, ZormreportColumn* column, std::string* error);

extern const char kZormreportUsage[];
