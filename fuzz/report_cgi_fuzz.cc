// A CGI request and the records that follow it, fed through the request reader
// and through every character format of the report writer.
//
// Input: fields separated by 0x01 bytes: method, query string, CONTENT_LENGTH,
// CONTENT_TYPE, cookie, POST body, then the report input: its first line declares
// the columns (each byte one column: width and flags from its bits), every further
// line is a record or a "#!" directive as zormreport reads them.
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/split_input.h"
#include "report/cgi_request.h"
#include "report/report.h"
#include "tools/zormreport/record_feeder.h"

namespace {

FILE* NullOutput() {
  static FILE* output = fopen("/dev/null", "w");
  return output;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> fields =
      SplitInput(std::string(reinterpret_cast<const char*>(data), size), '\x01', 7);
  fields.resize(7);
  const char* methods[] = {"GET", "POST", "post", "PUT", nullptr};
  const char* method = methods[fields[0].empty() ? 4 : static_cast<unsigned char>(fields[0][0]) % 5];
  std::map<std::string, std::string> environment = {{"QUERY_STRING", fields[1]},
                                                    {"CONTENT_LENGTH", fields[2]},
                                                    {"CONTENT_TYPE", fields[3]},
                                                    {"HTTP_COOKIE", fields[4]}};
  if (method != nullptr) environment["REQUEST_METHOD"] = method;
  FILE* body = fmemopen(fields[5].data(), fields[5].size() + 1, "r");
  CgiRequest request = ReadCgiRequest(
      [&](const char* name) -> const char* {
        auto found = environment.find(name);
        return found != environment.end() ? found->second.c_str() : nullptr;
      },
      body);
  fclose(body);
  const std::string* name = FindFormValueNoCase(request, "RPT");
  ReportFormatFromName(name != nullptr ? name->c_str() : nullptr);

  std::vector<std::string> lines = SplitInput(fields[6], '\n');
  for (ReportFormat format :
       {ReportFormat::Text, ReportFormat::Csv, ReportFormat::Html, ReportFormat::Json}) {
    Report report;
    InitReport(&report);
    report.format = format;
    report.output = NullOutput();
    report.report_number = static_cast<uint16_t>(fields[2].size());
    snprintf(report.column_delete, sizeof report.column_delete, "%s", fields[1].c_str());
    for (unsigned char c : lines[0]) {
      uint32_t flags = (c & 0x80 ? ReportColumnFlag::RightAlign : 0) |
                       (c & 0x40 ? ReportColumnFlag::Numeric : 0) |
                       (c & 0x20 ? ReportColumnFlag::PlainNumber : 0);
      report.AddColumn(c & 0x1F ? (c & 0x1F) * (c & 0x1F) : 3000, fields[4].c_str(), flags);
    }
    std::optional<std::string> notes;
    if (!fields[3].empty()) notes = fields[3];
    RecordFeeder feeder(&report, fields[4], notes);
    for (size_t i = 1; i < lines.size(); ++i) feeder.Line(lines[i]);
    feeder.Finish();
  }
  return 0;
}
