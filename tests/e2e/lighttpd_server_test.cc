#include "tests/e2e/lighttpd_server.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/http_fetch.h"
#include "tests/support/test_env.h"

TEST(LighttpdServerTest, ServesAFileAndRunsACgiProgram) {
  ScopedTestHome home;
  std::string root = home.path() + "/www", cgi = home.path() + "/cgi";
  mkdir(root.c_str(), 0755);
  mkdir(cgi.c_str(), 0755);
  ASSERT_TRUE(WriteWholeFile(root + "/hello.txt", "hello from the test\n"));
  ASSERT_TRUE(WriteWholeFile(cgi + "/echo.cgi",
                             "#!/bin/sh\nprintf 'Content-Type: text/plain\\r\\n\\r\\n'\n"
                             "printf '%s|%s' \"$QUERY_STRING\" \"$ZORMTEST\"\n"));
  chmod((cgi + "/echo.cgi").c_str(), 0755);

  LighttpdServer server({root, cgi, {{"ZORMTEST", "passed through"}}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;

  HttpResult file = HttpGet(server.base_url() + "/hello.txt");
  EXPECT_EQ(200, file.status) << file.error;
  EXPECT_EQ("hello from the test\n", file.body);
  EXPECT_EQ("text/plain", file.Header("content-type"));

  HttpResult script = HttpFetch({server.base_url() + "/cgi/echo.cgi?a=1&b=2", "GET", "", {}, "probe/1"});
  EXPECT_EQ(200, script.status);
  EXPECT_EQ("a=1&b=2|passed through", script.body);
  EXPECT_TRUE(server.AccessLogContains("\"probe/1\"")) << server.AccessLog();

  EXPECT_EQ(404, HttpGet(server.base_url() + "/missing.txt").status);

  int port = server.port();
  server.Stop();
  EXPECT_EQ(0, HttpGet("http://127.0.0.1:" + std::to_string(port) + "/hello.txt").status);
}
