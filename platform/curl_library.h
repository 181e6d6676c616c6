// libcurl, opened at run time instead of linked. Linking it makes the dynamic
// loader map and initialise libcurl and the forty-odd libraries it pulls in
// (TLS, Kerberos, LDAP, ...) before main, on the GUI thread's start-up path;
// opened here, that work happens on whichever thread makes the first transfer,
// usually a worker started at the top of main. The functions keep the types
// <curl/curl.h> declares. Thread-safe: any thread may ask for the library, and it
// is opened and initialised once for the whole process.
#pragma once

#include <curl/curl.h>

#include "util/status.h"

// The libcurl functions the program calls, as `name` for `curl_name`.
// clang-format off
#define ZORM_CURL_FUNCTIONS(X)                                                                  \
  X(global_init)                                                                                \
  X(easy_init) X(easy_cleanup) X(easy_setopt) X(easy_getinfo) X(easy_perform) X(easy_strerror)  \
  X(multi_init) X(multi_cleanup) X(multi_add_handle) X(multi_remove_handle)                     \
  X(multi_perform) X(multi_poll) X(multi_info_read)                                             \
  X(slist_append) X(slist_free_all)
// clang-format on

struct CurlLibrary {
#define ZORM_CURL_MEMBER(name) decltype(&curl_##name) name = nullptr;
  ZORM_CURL_FUNCTIONS(ZORM_CURL_MEMBER)
#undef ZORM_CURL_MEMBER
};

// Opens libcurl and calls curl_global_init on the first call; every call then
// sets `*curl` to the same functions, which stay valid for the life of the
// process, and returns ok. When the library cannot be opened or lacks one of
// the functions, `*curl` is set to nullptr and every call returns the same error,
// naming the library and saying why.
Status LoadCurlLibrary(const CurlLibrary** curl);

// Opens the shared library `file_name` and fills `*curl` from it, without
// caching or initialising anything. On failure the library is closed again,
// `*curl` must not be used, and the error names `file_name` and gives the
// loader's reason. LoadCurlLibrary's
// one step that depends on the library's name, open for tests.
Status OpenCurlLibrary(const char* file_name, CurlLibrary* curl);
