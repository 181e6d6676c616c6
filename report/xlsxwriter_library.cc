#include "report/xlsxwriter_library.h"

Status OpenXlsxwriterLibrary(const char* file_name, XlsxwriterLibrary* functions) {
  return OpenSharedLibrary("workbook", file_name, {ZORM_XLSXWRITER_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
}

Status LoadXlsxwriterLibrary(const XlsxwriterLibrary** xlsxwriter) {
  return LoadSharedLibraryOnce(xlsxwriter, [](XlsxwriterLibrary* functions) {
    return OpenXlsxwriterLibrary("libxlsxwriter.so.4", functions);
  });
}
