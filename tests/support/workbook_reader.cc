#include "tests/support/workbook_reader.h"

#include <cjson/cJSON.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <regex>

#include "tests/support/test_env.h"

WorkbookReadBack ReadBackWorkbook(const std::string& path) {
  const char* source = getenv("ZORM_SOURCE_DIR");
  const std::string script = std::string(source != nullptr ? source : ZORM_SOURCE_DIR_DEFAULT) +
                             "/tests/support/read_workbook.py";
  const auto quoted = [](const std::string& text) {
    return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
  };
  FILE* pipe = popen(("/usr/bin/python3 " + quoted(script) + " " + quoted(path)).c_str(), "r");
  std::string output;
  char buffer[65536];
  for (size_t got; pipe != nullptr && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  if (pipe != nullptr) pclose(pipe);
  // {"sheets": [{"name": NAME, "rows": [[CELL, ...], ...]}, ...]} or {"error": TEXT}
  WorkbookReadBack result;
  cJSON* root = cJSON_Parse(output.c_str());
  const auto text = [](const cJSON* item) {
    return std::string(cJSON_IsString(item) ? item->valuestring : "?");
  };
  const cJSON *sheet, *row, *cell;
  cJSON_ArrayForEach(sheet, cJSON_GetObjectItem(root, "sheets")) {
    result.sheets.push_back({text(cJSON_GetObjectItem(sheet, "name")), {}});
    cJSON_ArrayForEach(row, cJSON_GetObjectItem(sheet, "rows")) {
      result.sheets.back().rows.emplace_back();
      cJSON_ArrayForEach(cell, row) result.sheets.back().rows.back().push_back(text(cell));
    }
  }
  result.ok = cJSON_IsArray(cJSON_GetObjectItem(root, "sheets"));
  result.error = result.ok ? "" : root != nullptr ? text(cJSON_GetObjectItem(root,
      "error")) : output;
  cJSON_Delete(root);
  return result;
}

WorkbookReadBack ReadBackWorkbookBytes(const std::string& bytes) {
  const char* tmp = getenv("TMPDIR");
  std::string path = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/workbook-XXXXXX.xlsx";
  close(mkstemps(path.data(), 5));
  WorkbookReadBack result;
  if (WriteWholeFile(path, bytes)) result = ReadBackWorkbook(path);
  unlink(path.c_str());
  return result;
}
