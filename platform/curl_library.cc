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
  // Lazy binding, as when the program was linked with it: binding every function
  // of libcurl and its dependencies at once would keep the loader's lock, which
  // GTK's start on the GUI thread also needs, for longer. The functions called
  // here are all found by dlsym below.
  void* library = dlopen(file_name, RTLD_LAZY | RTLD_LOCAL);
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
