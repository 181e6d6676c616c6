#include "tests/support/workbook_reader.h"

#include <cjson/cJSON.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/test_env.h"

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Text(const cJSON* item) {
  const char* text = cJSON_GetStringValue(item);
  return text != nullptr ? text : "?";
}

std::string TemporaryPath(const char* pattern_name) {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/" + pattern_name;
  int fd = mkstemps(pattern.data(), 5);
  if (fd >= 0) close(fd);
  return pattern;
}

}  // namespace

std::vector<std::string> WorkbookReadBack::SheetNames() const {
  std::vector<std::string> names;
  for (const Sheet& sheet : sheets) names.push_back(sheet.name);
  return names;
}

WorkbookReadBack ReadBackWorkbook(const std::string& path) {
  WorkbookReadBack result;
  const char* source = getenv("ZORM_SOURCE_DIR");
  std::string output, errors = TemporaryPath("read-workbook-XXXXXX.errs");
  std::string script = std::string(source != nullptr ? source : ZORM_SOURCE_DIR_DEFAULT) +
                       "/tests/support/read_workbook.py";
  FILE* pipe = popen(("/usr/bin/python3 " + Quoted(script) + " " + Quoted(path) + " 2>" +
                      Quoted(errors)).c_str(), "r");
  char buffer[65536];
  for (size_t got; pipe != nullptr && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  const int status = pipe != nullptr ? pclose(pipe) : -1;
  result.error = ReadWholeFile(errors);
  unlink(errors.c_str());
  cJSON* root = status == 0 ? cJSON_Parse(output.c_str()) : nullptr;
  const cJSON* sheet;
  cJSON_ArrayForEach(sheet, cJSON_GetObjectItem(root, "sheets")) {
    WorkbookReadBack::Sheet read{Text(cJSON_GetObjectItem(sheet, "name")), {}};
    const cJSON *row, *cell;
    cJSON_ArrayForEach(row, cJSON_GetObjectItem(sheet, "rows")) {
      read.rows.emplace_back();
      cJSON_ArrayForEach(cell, row) read.rows.back().push_back(Text(cell));
    }
    result.sheets.push_back(std::move(read));
  }
  result.ok = root != nullptr;
  if (!result.ok && result.error.empty()) result.error = "read_workbook.py failed: " + output;
  cJSON_Delete(root);
  return result;
}

WorkbookReadBack ReadBackWorkbookBytes(const std::string& bytes) {
  std::string path = TemporaryPath("read-workbook-XXXXXX.xlsx");
  WorkbookReadBack result;
  if (WriteWholeFile(path, bytes)) result = ReadBackWorkbook(path);
  unlink(path.c_str());
  return result;
}
