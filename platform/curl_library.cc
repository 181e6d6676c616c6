#include "platform/curl_library.h"

Status OpenCurlLibrary(const char* file_name, CurlLibrary* functions) {
  return OpenSharedLibrary("HTTP", file_name, {ZORM_CURL_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
}

Status LoadCurlLibrary(const CurlLibrary** curl) {
  return LoadSharedLibraryOnce(curl, [](CurlLibrary* functions) {
    Status status = OpenCurlLibrary("libcurl.so.4", functions);
    if (status.ok()) functions->curl_global_init(CURL_GLOBAL_DEFAULT);
    return status;
  });
}
