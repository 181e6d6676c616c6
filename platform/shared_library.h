// Libraries opened at run time instead of linked. The dynamic loader maps and
// initialises every linked library, and everything each one pulls in, before
// main; a library only some actions need (the network, the installer, the PDF
// and workbook writers) is opened here when first used instead, so that the
// program's start does not wait for it.
//
// A library is described by a list of its functions, an X-macro, from which a
// struct of pointers typed as the library's header declares them is made:
//
//   #define ZORM_FOO_FUNCTIONS(X) X(foo_open) X(foo_close)
//   struct FooLibrary { ZORM_FOO_FUNCTIONS(ZORM_LIBRARY_FUNCTION) };
//
// and the functions are called through it: foo->foo_open(...).
#pragma once

#include <initializer_list>
#include <utility>

#include "util/status.h"

#define ZORM_LIBRARY_FUNCTION(name) decltype(&::name) name = nullptr;
#define ZORM_LIBRARY_SYMBOL(name) {#name, reinterpret_cast<void**>(&functions->name)},

// Opens the shared library `file_name` and stores each symbol's address through
// its pointer. The library stays open for the life of the process. On failure
// it is closed again, the pointers must not be used, and the error says "Cannot
// load the <what> library <file_name>: " and the loader's reason.
Status OpenSharedLibrary(const char* what, const char* file_name,
                         std::initializer_list<std::pair<const char*, void**>> symbols);

// Opens the library once for the whole process, thread-safely, and then gives
// every caller the same outcome: `*functions` points to the resolved functions,
// or is null and the error is returned. `open` fills a Functions and returns
// OpenSharedLibrary's status (and may initialise the library).
template <typename Functions, typename Open>
Status LoadSharedLibraryOnce(const Functions** functions, Open open) {
  struct Loaded {
    Functions functions;
    Status status;
  };
  // Never destroyed: another thread may still be calling into the library while
  // the process exits.
  static const Loaded* const loaded = [&open] {
    auto* result = new Loaded;
    result->status = open(&result->functions);
    return result;
  }();
  *functions = loaded->status.ok() ? &loaded->functions : nullptr;
  return loaded->status;
}

// The functions of a library that `load` (a Load...Library function) has already
// opened, for code that only runs once it has: drawing on a document the library
// made. Asked for on every call, it costs one guarded read after the first.
template <typename Functions>
const Functions& LoadedSharedLibrary(Status (*load)(const Functions**)) {
  static const Functions* const functions = [load] {
    const Functions* loaded = nullptr;
    load(&loaded);
    return loaded;
  }();
  return *functions;
}
