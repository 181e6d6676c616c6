// libcurl, opened at run time (platform/shared_library.h). Linked, it would make
// the loader map and initialise libcurl and the forty-odd libraries it pulls in
// (TLS, Kerberos, LDAP, ...) before main; opened here, that work happens on the
// thread of the first transfer, usually a worker started at the top of main.
#pragma once

#include <curl/curl.h>

#include "platform/shared_library.h"

// clang-format off
#define ZORM_CURL_FUNCTIONS(X)                                                                  \
  X(curl_global_init)                                                                           \
  X(curl_easy_init) X(curl_easy_cleanup) X(curl_easy_setopt) X(curl_easy_getinfo)              \
  X(curl_easy_perform) X(curl_easy_strerror)                                                    \
  X(curl_multi_init) X(curl_multi_cleanup) X(curl_multi_add_handle) X(curl_multi_remove_handle) \
  X(curl_multi_perform) X(curl_multi_poll) X(curl_multi_info_read)                              \
  X(curl_slist_append) X(curl_slist_free_all)
// clang-format on

struct CurlLibrary {
  ZORM_CURL_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

// Opens libcurl and calls curl_global_init, once for the process; see
// LoadSharedLibraryOnce. The error names the library and says why.
Status LoadCurlLibrary(const CurlLibrary** curl);

// Opens the shared library `file_name` as libcurl into `*curl`, without caching
// or initialising anything: LoadCurlLibrary's one step that depends on the
// library's name, open for tests.
Status OpenCurlLibrary(const char* file_name, CurlLibrary* curl);
