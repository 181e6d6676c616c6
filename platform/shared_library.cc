#include "platform/shared_library.h"

#include <dlfcn.h>

#include <string>

Status OpenSharedLibrary(const char* what, const char* file_name,
                         std::initializer_list<std::pair<const char*, void**>> symbols) {
  auto error = [&] {
    const char* why = dlerror();
    return Status::Error(std::string("Cannot load the ") + what + " library " + file_name + ": " +
                         (why != nullptr ? why : "unknown error"));
  };
  // Lazy binding, as when the program was linked with it: binding every function
  // of the library and its dependencies at once would hold the loader's lock,
  // which other threads starting up also need, for longer. The functions called
  // are all found by dlsym below.
  void* library = dlopen(file_name, RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr) return error();
  for (const auto& [name, address] : symbols) {
    *address = dlsym(library, name);
    if (*address == nullptr) {
      Status failed = error();
      dlclose(library);
      return failed;
    }
  }
  return Status::Ok();
}
