// cJSON, opened at run time (platform/shared_library.h): only a JSON report needs it.
#pragma once

#include <cjson/cJSON.h>

#include "platform/shared_library.h"

// clang-format off
#define ZORM_CJSON_FUNCTIONS(X)                                                           \
  X(cJSON_CreateArray) X(cJSON_CreateObject) X(cJSON_CreateString) X(cJSON_AddItemToArray) \
  X(cJSON_AddItemToObject) X(cJSON_AddItemToObjectCS) X(cJSON_AddStringToObject)        \
  X(cJSON_AddNumberToObject) X(cJSON_Print) X(cJSON_PrintPreallocated) X(cJSON_Delete)  \
  X(cJSON_free)
// clang-format on

struct CjsonLibrary {
  ZORM_CJSON_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

// Opens cJSON once for the process; see LoadSharedLibraryOnce. The error names the
// library and says why.
Status LoadCjsonLibrary(const CjsonLibrary** cjson);

// Opens the shared library `file_name` as cJSON into `*cjson`, without caching:
// LoadCjsonLibrary's step that depends on the name, for tests.
Status OpenCjsonLibrary(const char* file_name, CjsonLibrary* cjson);
