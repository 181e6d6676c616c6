#include "tools/zormreport/options.h"

#include <cstring>

#include "report/report.h"

const char kZormreportUsage[] =
    "Usage: zormreport [--title TEXT] [--notes TEXT] [--no-env] [--report-number N]\n"
    "                  --column NAME:WIDTH[:FLAGS] ... [--input FILE] [--output FILE]\n"
    "       zormreport --help | --version\n"
    "\n"
    "Writes the records of FILE (standard input by default), one per line, as a report.\n"
    "A record holds the column values separated by '|'. A line starting with #! is a\n"
    "directive: #!header TITLE, #!trailer, #!separator, #!reset, #!banner TEXT.\n"
    "\n"
    "  --title TEXT          title of the report\n"
    "  --notes TEXT          notes under the title (none without this option)\n"
    "  --no-env              expand %NAME in title and notes as ***BADENV:NAME***\n"
    "                        instead of the environment variable's value\n"
    "  --report-number N     report number, 0 to 65535 (0: none)\n"
    "  --column NAME:WIDTH[:FLAGS]\n"
    "                        a column, in order; at most 32, names of at most 127\n"
    "                        characters, all widths + 1 together below 2048. FLAGS:\n"
    "                        r right-aligned, n numeric, t tags, f fixed font,\n"
    "                        p plain number\n"
    "  --input FILE          read records from FILE\n"
    "  --output FILE         write text, CSV, HTML and JSON to FILE\n"
    "\n"
    "The format comes from ZORMREPORTFORMAT (text, csv, html, json, pdf, excel) or,\n"
    "as a CGI program, from the request's RPT variable. A PDF goes to the file\n"
    "ZORMPDFOUTPUTPATH (default Report-<creation time>.pdf), or as the response in CGI\n"
    "mode; ZORMPDFPAGESIZE, ZORMPDFORIENTATION, ZORMPDFLOGOPATH (JPEG) and\n"
    "ZORMPDFBLANKPAGETEXT shape its pages.\n"
    "In the title and notes $NAME is the report variable NAME of the variables file\n"
    "named by ZORMVARFILE ($$ for a '$'), %NAME the environment variable NAME (%% for\n"
    "a '%'); a '.' right after a name is dropped ($SITE.txt).\n"
    "Exit status: 0 done, 1 the output or the PDF could not be written, 2 bad arguments.\n";

namespace {

bool ParseDecimal(const std::string& text, uint64_t limit, uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number > limit) return false;
  *value = number;
  return true;
}

}  // namespace

bool ParseColumnSpec(const std::string& spec, ZormreportColumn* column, std::string* error) {
  size_t last = spec.rfind(':');
  if (last == std::string::npos) {
    *error = "column '" + spec + "' needs NAME:WIDTH";
    return false;
  }
  std::string width_text = spec.substr(last + 1), flag_text;
  std::string name = spec.substr(0, last);
  uint64_t width = 0;
  if (!ParseDecimal(width_text, UINT64_MAX, &width)) {
    // Not a width: the last part holds the flags.
    flag_text = width_text;
    size_t colon = name.rfind(':');
    if (colon == std::string::npos) {
      *error = "column '" + spec + "' needs NAME:WIDTH";
      return false;
    }
    width_text = name.substr(colon + 1);
    name = name.substr(0, colon);
  }
  if (!ParseDecimal(width_text, kReportLineBuffer - 2, &width)) {
    *error = "column '" + spec + "': the width must be a number from 0 to 2046";
    return false;
  }
  if (name.size() > kReportMaxName) {
    *error = "column name longer than 127 characters: '" + name.substr(0, 40) + "...'";
    return false;
  }
  uint32_t flags = 0;
  for (char letter : flag_text) {
    switch (letter) {
      case 'r': flags |= ReportColumnFlag::RightAlign; break;
      case 'n': flags |= ReportColumnFlag::Numeric; break;
      case 't': flags |= ReportColumnFlag::Tags; break;
      case 'f': flags |= ReportColumnFlag::Fixed; break;
      case 'p': flags |= ReportColumnFlag::PlainNumber; break;
      default:
        *error = "column '" + spec + "': unknown flag '" + std::string(1, letter) +
                 "' (use r, n, t, f, p)";
        return false;
    }
  }
  column->name = name;
  column->width = width;
  column->flags = flags;
  return true;
}

bool ParseZormreportArguments(int argc, const char* const* argv, ZormreportOptions* options,
                              std::string* error) {
  *options = ZormreportOptions();
  uint64_t line_width = 0;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i], value;
    if (argument == "--help" || argument == "-h") {
      options->help = true;
      return true;
    }
    if (argument == "--version") {
      options->version = true;
      return true;
    }
    if (argument == "--no-env") {
      options->no_environment = true;
      continue;
    }
    static const char* const kWithValue[] = {"--title",  "--notes", "--report-number",
                                             "--column", "--input", "--output"};
    std::string name = argument.substr(0, argument.find('='));
    bool known = false;
    for (const char* option : kWithValue) known = known || name == option;
    if (!known) {
      *error = argument.rfind("-", 0) == 0 ? "unknown option '" + argument + "'"
                                           : "unexpected argument '" + argument + "'";
      return false;
    }
    if (name.size() < argument.size()) {
      value = argument.substr(name.size() + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      *error = "option " + name + " needs a value";
      return false;
    }
    if (name == "--title") {
      options->title = value;
    } else if (name == "--notes") {
      options->notes = value;
    } else if (name == "--report-number") {
      uint64_t number = 0;
      if (!ParseDecimal(value, UINT16_MAX, &number)) {
        *error = "--report-number takes a number from 0 to 65535, not '" + value + "'";
        return false;
      }
      options->report_number = static_cast<uint16_t>(number);
    } else if (name == "--column") {
      ZormreportColumn column;
      if (!ParseColumnSpec(value, &column, error)) return false;
      if (options->columns.size() == kReportMaxColumns) {
        *error = "at most 32 columns";
        return false;
      }
      line_width += column.width + 1;
      if (line_width >= kReportLineBuffer) {
        *error = "the columns are too wide together: each width + 1, summed, must stay below 2048";
        return false;
      }
      options->columns.push_back(column);
    } else if (name == "--input") {
      options->input = value;
    } else {
      options->output = value;
    }
  }
  if (options->columns.empty()) {
    *error = "at least one --column is needed";
    return false;
  }
  return true;
}
