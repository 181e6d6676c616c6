// zormreport: the report writer as a command and as a CGI program. Reads records
// from a file or standard input and writes them in the format that the environment
// (ZORMREPORTFORMAT) or the CGI request (RPT) chooses.
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/file_io.h"
#include "report/html_escape.h"
#include "report/report.h"
#include "report/variable_store.h"
#include "tools/zormreport/options.h"
#include "tools/zormreport/record_feeder.h"

namespace {

constexpr int kExitBadArguments = 2;
constexpr int kExitOutputFailed = 1;
// Room for a title or notes text after its variables are expanded.
constexpr unsigned kExpandedTextSize = 4096;

int BadArguments(const std::string& message) {
  fprintf(stderr, "zormreport: %s\n\n%s", message.c_str(), kZormreportUsage);
  return kExitBadArguments;
}

// Reads lines of any length without their LF or CR LF.
class LineReader {
 public:
  explicit LineReader(FILE* input) : input_(input) {}
  ~LineReader() { free(buffer_); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // False at the end of the input.
  bool Next(std::string* line) {
    ssize_t length = getline(&buffer_, &capacity_, input_);
    if (length < 0) return false;
    if (length > 0 && buffer_[length - 1] == '\n') {
      --length;
      if (length > 0 && buffer_[length - 1] == '\r') --length;
    }
    line->assign(buffer_, static_cast<size_t>(length));
    return true;
  }

 private:
  FILE* input_;
  char* buffer_ = nullptr;
  size_t capacity_ = 0;
};

std::string Expand(VariableStore* variables, const std::string& text, bool no_environment) {
  std::string expanded(kExpandedTextSize, '\0');
  ExpandVariables(variables, text.c_str(), expanded.data(), kExpandedTextSize, no_environment);
  expanded.resize(strlen(expanded.c_str()));
  return expanded;
}

// Replaces the variable references in the title and the notes.
void ExpandTitleAndNotes(ZormreportOptions* options) {
  VariableStore variables;
  InitVariables(&variables, nullptr, 0);
  options->title = Expand(&variables, options->title, options->no_environment);
  if (options->notes) options->notes = Expand(&variables, *options->notes, options->no_environment);
  FreeVariables(&variables);
}

}  // namespace

int main(int argc, char** argv) {
  // The PDF library compresses every page with a fresh zlib state of about a
  // quarter megabyte. Freed memory stays with the process, so that it is not
  // returned to the system and asked for again for every page.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  ZormreportOptions options;
  std::string error;
  if (!ParseZormreportArguments(argc, argv, &options, &error)) return BadArguments(error);
  if (options.help) {
    fputs(kZormreportUsage, stdout);
    return 0;
  }
  if (options.version) {
    puts("zormreport 1.0 (Calvaro report writer)");
    return 0;
  }

  ExpandTitleAndNotes(&options);
  error.clear();

  FILE* input = stdin;
  if (!options.input.empty() && (input = fopen(options.input.c_str(), "r")) == nullptr)
    return BadArguments("cannot read " + options.input + ": " + strerror(errno));
  const std::string output_name = options.output.empty() ? "standard output" : options.output;
  FILE* output = stdout;
  // The file appears whole at the end or not at all; an earlier one stays until then.
  AtomicFile output_file;
  if (!options.output.empty()) {
    int fd = -1;
    if (!output_file.Open(options.output, &error) || (fd = dup(output_file.fd())) < 0 ||
        (output = fdopen(fd, "w")) == nullptr) {
      fprintf(stderr, "zormreport: %s\n",
              error.empty() ? ("cannot write " + output_name + ": " + strerror(errno)).c_str()
                            : error.c_str());
      return kExitOutputFailed;
    }
  }

  Report report;
  InitReport(&report);
  report.output = output;
  report.report_number = options.report_number;
  for (const ZormreportColumn& column : options.columns)
    report.AddColumn(
        column.width,
        (report.format == ReportFormat::Html ? EscapeHtml(column.name) : column.name).c_str(),
        column.flags);

  RecordFeeder feeder(&report, options.title, options.notes);
  std::string line;
  LineReader reader(input);
  for (unsigned long number = 1; reader.Next(&line); ++number) {
    if (!feeder.Line(line))
      fprintf(stderr, "zormreport: line %lu: unknown directive, line left out: %.60s\n", number,
              line.c_str());
  }
  bool read_failed = ferror(input) != 0;
  feeder.Finish();
  if (input != stdin) fclose(input);

  bool write_failed = fflush(output) != 0 || ferror(output) != 0;
  if (output != stdout) {
    write_failed = fclose(output) != 0 || write_failed;
    if (!write_failed) write_failed = !output_file.Commit(&error);
  }
  // The CGI header lines go to standard output even with --output.
  write_failed = (fflush(stdout) != 0 || ferror(stdout) != 0) || write_failed;
  if (write_failed) {
    fprintf(stderr, "zormreport: %s\n",
            error.empty() ? ("cannot write " + output_name + ": " + strerror(errno)).c_str()
                          : error.c_str());
    return kExitOutputFailed;
  }
  if (report.pdf_save_result != 0)
    fprintf(stderr, "zormreport: PDF save failed with result code: %u\n",
            static_cast<unsigned>(report.pdf_save_result));
  if (!report.file_error.empty()) fprintf(stderr, "zormreport: %s\n", report.file_error.c_str());
  if (report.pdf_save_result != 0 || !report.file_error.empty()) return kExitOutputFailed;
  if (read_failed) {
    fprintf(stderr, "zormreport: reading %s failed\n",
            options.input.empty() ? "standard input" : options.input.c_str());
    return kExitOutputFailed;
  }
  return 0;
}
