#include "tests/support/workbook_reader.h"

#include <cjson/cJSON.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/support/test_env.h"

namespace {

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReaderScript() {
  const char* source = getenv("ZORM_SOURCE_DIR");
  return std::string(source != nullptr ? source : ZORM_SOURCE_DIR_DEFAULT) +
         "/tests/support/read_workbook.py";
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
  std::string error_file = TemporaryPath("read-workbook-XXXXXX.errs");
  std::string command = "/usr/bin/python3 " + ShellQuoted(ReaderScript()) + " " +
                        ShellQuoted(path) + " 2>" + ShellQuoted(error_file);
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    result.error = "cannot start " + command;
    return result;
  }
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  int status = pclose(pipe);
  std::string errors = ReadWholeFile(error_file);
  unlink(error_file.c_str());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    result.error = errors.empty() ? "read_workbook.py failed" : errors;
    return result;
  }

  std::unique_ptr<cJSON, decltype(&cJSON_Delete)> root(cJSON_Parse(output.c_str()), cJSON_Delete);
  const cJSON* sheets = cJSON_GetObjectItemCaseSensitive(root.get(), "sheets");
  if (!cJSON_IsArray(sheets)) {
    result.error = "unexpected output of read_workbook.py: " + output.substr(0, 200);
    return result;
  }
  const cJSON* sheet;
  cJSON_ArrayForEach(sheet, sheets) {
    WorkbookReadBack::Sheet read;
    const cJSON* name = cJSON_GetObjectItemCaseSensitive(sheet, "name");
    if (cJSON_IsString(name)) read.name = name->valuestring;
    const cJSON* row;
    cJSON_ArrayForEach(row, cJSON_GetObjectItemCaseSensitive(sheet, "rows")) {
      std::vector<std::string> cells;
      const cJSON* cell;
      cJSON_ArrayForEach(cell, row) cells.push_back(cJSON_IsString(cell) ? cell->valuestring : "?");
      read.rows.push_back(std::move(cells));
    }
    result.sheets.push_back(std::move(read));
  }
  result.ok = true;
  return result;
}

WorkbookReadBack ReadBackWorkbookBytes(const std::string& bytes) {
  std::string path = TemporaryPath("read-workbook-XXXXXX.xlsx");
  WorkbookReadBack result;
  if (!WriteWholeFile(path, bytes))
    result.error = "cannot write " + path;
  else
    result = ReadBackWorkbook(path);
  unlink(path.c_str());
  return result;
}
