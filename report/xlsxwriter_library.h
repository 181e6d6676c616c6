// libxlsxwriter, the workbook writer, opened at run time
// (platform/shared_library.h): only a workbook report or export needs it.
#pragma once

#include <xlsxwriter.h>

#include "platform/shared_library.h"

// clang-format off
#define ZORM_XLSXWRITER_FUNCTIONS(X)                                                 \
  X(workbook_new_opt) X(workbook_validate_sheet_name) X(workbook_add_worksheet)    \
  X(workbook_get_worksheet_by_name) X(workbook_close) X(lxw_workbook_free)         \
  X(worksheet_write_string) X(worksheet_write_number) X(lxw_strerror)
// clang-format on

struct XlsxwriterLibrary {
  ZORM_XLSXWRITER_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

// Opens libxlsxwriter once for the process; see LoadSharedLibraryOnce. The error
// names the library and says why.
Status LoadXlsxwriterLibrary(const XlsxwriterLibrary** xlsxwriter);

// Opens the shared library `file_name` as libxlsxwriter into `*xlsxwriter`, without
// caching: LoadXlsxwriterLibrary's step that depends on the name, for tests.
Status OpenXlsxwriterLibrary(const char* file_name, XlsxwriterLibrary* xlsxwriter);
