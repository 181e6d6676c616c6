#include "platform/http_client.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/cgi_script.h"
#include "tests/support/test_env.h"

namespace {

TEST(HttpClientTest, ReadsBodiesStatusesAndRedirectsFromARealServer) {
  ScopedTestHome home;
  const std::string root = home.path() + "/www", cgi = home.path() + "/cgi";
  mkdir(root.c_str(), 0755);
  mkdir(cgi.c_str(), 0755);
  std::string big;
  for (long long i = 0; big.size() < (6u << 20); ++i) big += std::to_string(i * 7919) + '\0' + '\n';
  ASSERT_TRUE(WriteWholeFile(root + "/big.bin", big));
  ASSERT_TRUE(WriteWholeFile(root + "/target.txt", "arrived"));
  LighttpdServer server({root, cgi, {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  const std::string url = server.base_url();
  ASSERT_TRUE(WriteCgiScript(cgi + "/move.cgi", "printf 'Status: 302 Found\\r\\nLocation: " + url +
                                                    "/target.txt\\r\\n\\r\\nmoved'\n"));
  struct Case {
    std::string path;
    bool follow;
    int status;
    std::string body, header;
  };
  const Case cases[] = {
      {"/big.bin", true, 200, big, "HTTP/1.1 200 OK\r\n"},
      {"/cgi/move.cgi", true, 200, "arrived", "HTTP/1.1 200 OK\r\n"},
      {"/cgi/move.cgi", false, 302, "", "\r\nLocation: " + url + "/target.txt\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    HttpGetOptions options;
    options.user_agent = "Probe Agent/1";
    options.follow_redirects = options.read_body = c.follow;
    HttpGetResult result = HttpGet(url + c.path, options);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(result.body == c.body) << "got " << result.body.size() << " bytes";
    EXPECT_NE(result.raw_headers.find(c.header), std::string::npos) << result.raw_headers;
  }
  EXPECT_TRUE(server.AccessLogContains("\"GET /cgi/move.cgi HTTP/1.1\" 302"));
  EXPECT_TRUE(server.AccessLogContains("\"Probe Agent/1\""));
}

// Failures carry a sentence a user can read and the address that was asked for.
TEST(HttpClientTest, FailuresSayWhatWentWrong) {
  int closed_port = CannedHttpServer(CannedHttpServer::Mode::kSilent).port();
  using Mode = CannedHttpServer::Mode;
  CannedHttpServer truncating(Mode::kAnswer,
                              "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nlittle");
  CannedHttpServer garbage(Mode::kAnswer, "\x01\x02 not http at all\r\n\r\n");
  CannedHttpServer silent(Mode::kReadThenSilent);
  const std::pair<std::string, const char*> cases[] = {
      {"127.0.0.1:" + std::to_string(closed_port),
       "A connection with the server could not be established"},
      {"no-such-host.invalid", "The server name could not be resolved"},
      {truncating.host_port(),
       "The connection with the server was terminated before the answer was complete"},
      {garbage.host_port(), "The server returned an invalid or unrecognized response"},
      {silent.host_port(), "The operation timed out"},
  };
  HttpGetOptions options;
  options.phase_timeout_ms = 300;
  for (const auto& [host, expected] : cases) {
    HttpGetResult result = HttpGet("http://" + host + "/x", options);
    EXPECT_FALSE(result.ok) << host;
    EXPECT_TRUE(result.error.starts_with(expected)) << result.error;
    EXPECT_TRUE(result.error.ends_with(" (http://" + host + "/x)")) << result.error;
  }
  EXPECT_EQ(HttpGet("nonsense://x", {}).error, "The URL is invalid (nonsense://x)");
}

}  // namespace
