#include "report/cjson_library.h"

Status OpenCjsonLibrary(const char* file_name, CjsonLibrary* functions) {
  return OpenSharedLibrary("JSON", file_name, {ZORM_CJSON_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
}

Status LoadCjsonLibrary(const CjsonLibrary** cjson) {
  return LoadSharedLibraryOnce(
      cjson, [](CjsonLibrary* functions) { return OpenCjsonLibrary("libcjson.so.1", functions); });
}
