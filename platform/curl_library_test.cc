#include "platform/curl_library.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(CurlLibraryTest, UnusableLibraryFailsNamingItWithTheLoadersReason) {
  // Library to open, and the loader's reason expected in the error ("": it opens).
  const std::pair<const char*, const char*> cases[] = {
      {"libzorm-absent.so.4", "cannot open shared object file"},
      {"libz.so.1", "undefined symbol: curl_global_init"},
      {"libcurl.so.4", ""}};
  for (const auto& [name, reason] : cases) {
    SCOPED_TRACE(name);
    CurlLibrary curl;
    Status status = OpenCurlLibrary(name, &curl);
    if (*reason == '\0') {
      EXPECT_TRUE(status.ok()) << status.message();
      EXPECT_NE(curl.curl_slist_free_all, nullptr);
      continue;
    }
    const std::string prefix = std::string("Cannot load the HTTP library ") + name + ": ";
    EXPECT_EQ(status.message().substr(0, prefix.size()), prefix);
    EXPECT_NE(status.message().find(reason), std::string::npos) << status.message();
  }
}
