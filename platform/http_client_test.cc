#include "platform/http_client.h"

#include <gtest/gtest.h>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/test_env.h"

using Mode = CannedHttpServer::Mode;

TEST(HttpClientTest, ReadsWholeBodiesAndFollowsRedirectsOnlyWhenAsked) {
  ScopedTestHome home;
  std::string big;
  for (long long i = 0; big.size() < (6u << 20); ++i) big += std::to_string(i * 7919) + '\0' + '\n';
  ASSERT_TRUE(WriteWholeFile(home.path() + "/big.bin", big));
  LighttpdServer server({home.path(), "", {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  const std::string location = "Location: " + server.base_url() + "/big.bin\r\n";
  CannedHttpServer mover(Mode::kAnswer,
                         "HTTP/1.1 302 Found\r\n" + location + "Content-Length: 0\r\n\r\n");
  // Address, whether to follow redirects, and the status, body and a header line expected.
  const std::tuple<std::string, bool, int, std::string, std::string> cases[] = {
      {server.base_url() + "/big.bin", true, 200, big, "HTTP/1.1 200 OK\r\n"},
      {"http://" + mover.host_port() + "/move", true, 200, big, "HTTP/1.1 200 OK\r\n"},
      {"http://" + mover.host_port() + "/move", false, 302, "", "\r\n" + location}};
  for (const auto& [url, follow, status, body, header] : cases) {
    HttpGetOptions options;
    options.follow_redirects = options.read_body = follow;
    HttpGetResult result = HttpGet(url, options);
    ASSERT_TRUE(result.outcome.ok()) << result.outcome.message();
    EXPECT_EQ(result.status, status) << url;
    EXPECT_TRUE(result.body == body) << "got " << result.body.size() << " bytes";
    EXPECT_NE(result.raw_headers.find(header), std::string::npos) << result.raw_headers;
  }
}

// Failures carry a sentence a user can read and the address that was asked for.
TEST(HttpClientTest, FailuresSayWhatWentWrong) {
  CannedHttpServer truncating(Mode::kAnswer, "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\nlittle");
  CannedHttpServer silent(Mode::kSilent);
  const std::pair<std::string, const char*> cases[] = {
      {"127.0.0.1:1", "A connection with the server could not be established"},
      {truncating.host_port(),
       "The connection with the server was terminated before the answer was complete"},
      {silent.host_port(), "The operation timed out"}};
  HttpGetOptions options;
  options.phase_timeout_ms = 300;
  for (const auto& [host, expected] : cases) {
    HttpGetResult result = HttpGet("http://" + host + "/x", options);
    const std::string& error = result.outcome.message();
    EXPECT_TRUE(error.starts_with(expected)) << error;
    EXPECT_TRUE(error.ends_with(" (http://" + host + "/x)")) << error;
  }
}
