#include "platform/curl_library.h"

#include <dlfcn.h>

#include <string>

namespace {

constexpr char kCurlLibraryName[] = "libcurl.so.4";

struct LoadedCurl {
  CurlLibrary functions;
  Status status;
};

Status LoadError(const char* file_name) {
  const char* why = dlerror();
  return Status::Error(std::string("Cannot load the HTTP library ") + file_name + ": " +
                       (why != nullptr ? why : "unknown error"));
}

}  // namespace

Status OpenCurlLibrary(const char* file_name, CurlLibrary* curl) {
  // RTLD_NOW: a library that lacks a symbol some function needs fails here, in
  // words, not with the loader aborting the program in the middle of a transfer.
  void* library = dlopen(file_name, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return LoadError(file_name);
#define ZORM_CURL_RESOLVE(name)                                                       \
  curl->name = reinterpret_cast<decltype(curl->name)>(dlsym(library, "curl_" #name)); \
  if (curl->name == nullptr) {                                                        \
    Status error = LoadError(file_name);                                              \
    dlclose(library);                                                                 \
    return error;                                                                     \
  }
  ZORM_CURL_FUNCTIONS(ZORM_CURL_RESOLVE)
#undef ZORM_CURL_RESOLVE
  return Status::Ok();  // kept open: its functions are used until the process ends
}

Status LoadCurlLibrary(const CurlLibrary** curl) {
  // Never destroyed: a worker's transfer may still be running while the process exits.
  static const LoadedCurl* const loaded = [] {
    auto* result = new LoadedCurl;
    result->status = OpenCurlLibrary(kCurlLibraryName, &result->functions);
    if (result->status.ok()) result->functions.global_init(CURL_GLOBAL_DEFAULT);
    return result;
  }();
  *curl = loaded->status.ok() ? &loaded->functions : nullptr;
  return loaded->status;
}
