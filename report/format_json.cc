// The JSON format. The document is an array with one object per section, each with
// its "records" array, exactly as cJSON's formatted printer prints the whole tree.
// To keep memory flat in the number of records the tree is never built whole:
// each section's heading and each record object are printed by cJSON on their own
// and written at the depth they have in the document, as they come.
#include <cctype>
#include <cstring>
#include <string>

#include "report/cjson_library.h"
#include "report/report_cells.h"
#include "report/report_format.h"
#include "report/time_text.h"
#include "util/clock.h"

struct ReportJsonDocument {
  const CjsonLibrary* cjson = nullptr;
  bool section_open = false;
  bool any_section = false;
  bool any_record = false;     // in the open section
  std::string section_end;     // what follows the records array of the open section
  std::string text;            // scratch for one record
  char* printed = nullptr;     // cJSON's print buffer, reused
  int printed_size = 0;
};

namespace {

void Release(Report* report) {
  if (report->json == nullptr) return;
  free(report->json->printed);
  delete report->json;
  report->json = nullptr;
}

// A record object inside the document sits at depth 3 (root array, section object,
// records array): cJSON indents its members by four tabs and its closing brace by
// three, where a record printed alone has one and none.
constexpr char kRecordIndent[] = "\t\t\t";

void Write(Report* report, const char* data, size_t length) {
  if (report->output != nullptr) fwrite(data, 1, length, report->output);
}
void Write(Report* report, const std::string& text) { Write(report, text.data(), text.size()); }

// The report's document, made with cJSON opened at the first section; null, with
// the report's file error saying why, when cJSON cannot be loaded.
ReportJsonDocument* DocumentOf(Report* report) {
  if (report->json == nullptr) {
    const CjsonLibrary* cjson = nullptr;
    Status loaded = LoadCjsonLibrary(&cjson);
    if (!loaded.ok()) {
      report->file_error = loaded.message();
      return nullptr;
    }
    report->json = new ReportJsonDocument();
    report->json->cjson = cjson;
  }
  return report->json;
}

void CloseSection(Report* report, ReportJsonDocument* document) {
  if (!document->section_open) return;
  Write(report, "]", 1);
  Write(report, document->section_end);
  document->section_open = false;
}

void Open(Report* report) {
  // Without cJSON there is no document to send: no header line either.
  if (DocumentOf(report) == nullptr) return;
  WriteCgiHeaderLine(report, "Content-Type: application/json;\n");
  // Column names become keys: blanks as '-', everything else in lower case.
  for (uint32_t i = 0; i < report->column_count; ++i) {
    for (char* p = report->columns[i].name; *p != '\0'; ++p)
      *p = *p == ' ' ? '-' : static_cast<char>(tolower(static_cast<unsigned char>(*p)));
  }
}

void Header(Report* report, const ReportSection& section) {
  const uint32_t now = static_cast<uint32_t>(CurrentTime());
  ReportJsonDocument* document = DocumentOf(report);
  if (document == nullptr) return;
  const CjsonLibrary& cjson = *document->cjson;
  CloseSection(report, document);

  // The section printed alone inside a one-element root array, with an empty
  // records array, gives everything around the records: "[" + head + "[]" + end + "]".
  cJSON* root = cjson.cJSON_CreateArray();
  cJSON* object = cjson.cJSON_CreateObject();
  cjson.cJSON_AddItemToArray(root, object);
  cjson.cJSON_AddStringToObject(object, "title", section.title);
  cjson.cJSON_AddStringToObject(object, "creation_time", FormatProductionTime(now));
  if (report->report_number != 0)
    cjson.cJSON_AddNumberToObject(object, "report_id", report->report_number);
  cjson.cJSON_AddItemToObject(object, "records", cjson.cJSON_CreateArray());
  char* printed = cjson.cJSON_Print(root);
  cjson.cJSON_Delete(root);
  if (printed == nullptr) return;
  std::string text(printed);
  cjson.cJSON_free(printed);
  size_t records = text.rfind("[]");
  if (records == std::string::npos || records == 0) return;

  Write(report, document->any_section ? ", " : "[", document->any_section ? 2 : 1);
  Write(report, text.data() + 1, records);  // the head and the records array's "["
  document->section_end = text.substr(records + 2, text.size() - records - 3);
  document->section_open = true;
  document->any_section = true;
  document->any_record = false;
}

// Prints `object` with cJSON into the document's reused buffer; null on failure.
const char* PrintObject(ReportJsonDocument* document, cJSON* object) {
  const CjsonLibrary& cjson = *document->cjson;
  if (document->printed == nullptr) {
    document->printed_size = 4096;
    document->printed = static_cast<char*>(malloc(document->printed_size));
  }
  while (document->printed != nullptr &&
         !cjson.cJSON_PrintPreallocated(object, document->printed, document->printed_size, 1)) {
    // A record has at most 1023 characters of values; escaping can make each six.
    if (document->printed_size >= (1 << 20)) return nullptr;
    document->printed_size *= 2;
    free(document->printed);
    document->printed = static_cast<char*>(malloc(document->printed_size));
  }
  return document->printed;
}

void Record(Report* report, const ReportRecord& record) {
  ReportJsonDocument* document = report->json;
  if (document == nullptr || !document->section_open || report->output == nullptr) return;
  const CjsonLibrary& cjson = *document->cjson;
  cJSON* object = cjson.cJSON_CreateObject();
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (record.value[i] == nullptr || (column.flags & ReportColumnFlag::Hidden)) continue;
    std::string_view value = TrimReportValue(record.value[i], record.length[i]);
    char copy[kReportMaxRecord + 1];
    memcpy(copy, value.data(), value.size());
    copy[value.size()] = '\0';
    // The key is the column's own name, which outlives the object.
    cjson.cJSON_AddItemToObjectCS(object, column.name, cjson.cJSON_CreateString(copy));
  }
  const char* printed = PrintObject(document, object);
  cjson.cJSON_Delete(object);
  if (printed == nullptr) return;

  std::string& text = document->text;
  text.clear();
  if (document->any_record) text += ", ";
  for (const char* p = printed; *p != '\0'; ++p) {
    text += *p;
    if (*p == '\n') text += kRecordIndent;
  }
  Write(report, text);
  document->any_record = true;
}

void Close(Report* report) {
  ReportJsonDocument* document = report->json;
  if (document == nullptr && !report->file_error.empty()) return;  // cJSON is missing
  if (document == nullptr || !document->any_section) {
    Write(report, "[]", 2);
    return;
  }
  CloseSection(report, document);
  Write(report, "]", 1);
}

}  // namespace

const ReportFormatOps kJsonFormatOps = {
    .Prepare = nullptr,
    .Borrow = nullptr,
    .Release = Release,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = nullptr,
    .Separator = ResetReportCounters,
    .Banner = nullptr,
    .Close = Close,
};
