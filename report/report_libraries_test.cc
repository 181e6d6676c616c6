#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report/cjson_library.h"
#include "report/hpdf_library.h"
#include "report/qrcodegen_library.h"
#include "report/xlsxwriter_library.h"

namespace {

template <typename Library>
Status OpenAs(Status (*open)(const char*, Library*), const char* file_name) {
  Library functions;
  return open(file_name, &functions);
}

}  // namespace

TEST(ReportLibrariesTest, UnusableLibraryFailsNamingItWithTheLoadersReason) {
  struct Case {
    Status status;
    const char* start;   // of the error, or "" when the library opens
    const char* reason;  // the loader's, found later in the error
  };
  const Case cases[] = {
      {OpenAs(OpenHpdfLibrary, "libhpdf-2.3.0.so"), "", ""},
      {OpenAs(OpenHpdfLibrary, "libzorm-absent.so"),
       "Cannot load the PDF library libzorm-absent.so: ", "cannot open shared object file"},
      {OpenAs(OpenQrcodegenLibrary, "libqrcodegen.so.1"), "", ""},
      {OpenAs(OpenQrcodegenLibrary, "libz.so.1"), "Cannot load the QR code library libz.so.1: ",
       "undefined symbol: qrcodegen_encodeText"},
      {OpenAs(OpenXlsxwriterLibrary, "libxlsxwriter.so.4"), "", ""},
      {OpenAs(OpenXlsxwriterLibrary, "libzorm-absent.so"),
       "Cannot load the workbook library libzorm-absent.so: ", "cannot open shared object file"},
      {OpenAs(OpenCjsonLibrary, "libcjson.so.1"), "", ""},
      {OpenAs(OpenCjsonLibrary, "libz.so.1"), "Cannot load the JSON library libz.so.1: ",
       "undefined symbol: cJSON_CreateArray"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    const std::string& message = c.status.message();
    EXPECT_EQ(c.status.ok(), *c.start == '\0') << message;
    EXPECT_EQ(message.substr(0, strlen(c.start)), c.start);
    EXPECT_NE(message.find(c.reason, strlen(c.start)), std::string::npos) << message;
  }
}
