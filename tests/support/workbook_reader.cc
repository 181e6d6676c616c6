#include "tests/support/workbook_reader.h"

#include <cjson/cJSON.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/run_program.h"
#include "tests/support/test_env.h"

WorkbookReadBack ReadBackWorkbook(const std::string& path) {
  const char* source = getenv("ZORM_SOURCE_DIR");
  const std::string script = std::string(source != nullptr ? source : ZORM_SOURCE_DIR_DEFAULT) +
                             "/tests/support/read_workbook.py";
  const std::string output = RunProgram({"/usr/bin/python3", script, path}).out;
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
