#include "platform/http_client.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/cgi_script.h"
#include "tests/support/test_env.h"

namespace {

class HttpClientTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = home_.path() + "/www";
    cgi_ = home_.path() + "/cgi";
    mkdir(root_.c_str(), 0755);
    mkdir(cgi_.c_str(), 0755);
  }
  void StartServer() {
    server_ = std::make_unique<LighttpdServer>(LighttpdServer::Options{root_, cgi_, {}, {}});
    std::string error;
    ASSERT_TRUE(server_->Start(&error)) << error;
  }

  ScopedTestHome home_;
  std::string root_, cgi_;
  std::unique_ptr<LighttpdServer> server_;
};

TEST_F(HttpClientTest, ReadsALargeBodyWholeAndByteForByte) {
  std::string big;
  for (long long i = 0; big.size() < (6u << 20); ++i) big += std::to_string(i * 7919) + '\0' + '\n';
  ASSERT_TRUE(WriteWholeFile(root_ + "/big.bin", big));
  StartServer();
  HttpGetResult result = HttpGet(server_->base_url() + "/big.bin", {});
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.status, 200);
  EXPECT_TRUE(result.body == big) << "got " << result.body.size() << " of " << big.size();
}

TEST_F(HttpClientTest, RedirectsAreFollowedOnlyWhenAsked) {
  ASSERT_TRUE(WriteWholeFile(root_ + "/target.txt", "arrived"));
  StartServer();
  ASSERT_TRUE(WriteCgiScript(cgi_ + "/move.cgi",
                             "printf 'Status: 302 Found\\r\\nLocation: " + server_->base_url() +
                                 "/target.txt\\r\\n\\r\\nmoved'\n"));

  HttpGetOptions follow;
  follow.user_agent = "Probe Agent/1";
  HttpGetResult followed = HttpGet(server_->base_url() + "/cgi/move.cgi", follow);
  ASSERT_TRUE(followed.ok) << followed.error;
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.body, "arrived");
  EXPECT_EQ(followed.raw_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << followed.raw_headers;
  EXPECT_TRUE(server_->AccessLogContains("\"GET /cgi/move.cgi HTTP/1.1\" 302"));
  EXPECT_TRUE(server_->AccessLogContains("\"Probe Agent/1\""));

  HttpGetOptions stay;
  stay.follow_redirects = false;
  stay.read_body = false;
  HttpGetResult stayed = HttpGet(server_->base_url() + "/cgi/move.cgi", stay);
  ASSERT_TRUE(stayed.ok) << stayed.error;
  EXPECT_EQ(stayed.status, 302);
  EXPECT_EQ(stayed.body, "");
  EXPECT_NE(stayed.raw_headers.find("\r\nLocation: " + server_->base_url() + "/target.txt\r\n"),
            std::string::npos)
      << stayed.raw_headers;
  EXPECT_EQ(stayed.raw_headers.substr(stayed.raw_headers.size() - 4), "\r\n\r\n");
}

TEST_F(HttpClientTest, ErrorStatusBodiesAreReadLikeAnyOther) {
  StartServer();
  ASSERT_TRUE(WriteCgiScript(cgi_ + "/fail.cgi",
                             "printf 'Status: 500 Internal Server Error\\r\\n"
                             "Content-Type: text/html\\r\\n\\r\\n<html>broken</html>'\n"));
  HttpGetResult result = HttpGet(server_->base_url() + "/cgi/fail.cgi", {});
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.status, 500);
  EXPECT_EQ(result.body, "<html>broken</html>");
}

// Failures carry a sentence a user can read and the address that was asked for.
TEST(HttpClientFailureTest, FailuresSayWhatWentWrong) {
  int closed_port;
  {
    CannedHttpServer probe(CannedHttpServer::Mode::kSilent);
    closed_port = probe.port();
  }
  CannedHttpServer truncating(CannedHttpServer::Mode::kAnswer,
                              "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nonly a little");
  CannedHttpServer garbage(CannedHttpServer::Mode::kAnswer, "\x01\x02 not http at all\r\n\r\n");
  struct {
    std::string url;
    const char* expected;
  } cases[] = {
      {"http://127.0.0.1:" + std::to_string(closed_port) + "/x",
       "A connection with the server could not be established"},
      {"http://no-such-host.invalid/x", "The server name could not be resolved"},
      {"http://" + truncating.host_port() + "/x",
       "The connection with the server was terminated before the answer was complete"},
      {"http://" + garbage.host_port() + "/x",
       "The server returned an invalid or unrecognized response"},
      {"nonsense://x", "The URL is invalid"},
  };
  for (const auto& c : cases) {
    HttpGetResult result = HttpGet(c.url, {});
    EXPECT_FALSE(result.ok) << c.url;
    EXPECT_EQ(result.error, std::string(c.expected) + " (" + c.url + ")");
    EXPECT_EQ(result.body, "") << c.url;
  }
}

// A bound, not a speed goal: a silent server must not hold the caller for long.
TEST(HttpClientFailureTest, PhaseTimeoutEndsAWaitForASilentServer) {
  for (auto mode : {CannedHttpServer::Mode::kSilent, CannedHttpServer::Mode::kReadThenSilent}) {
    CannedHttpServer silent(mode);
    HttpGetOptions options;
    options.phase_timeout_ms = 300;
    auto start = std::chrono::steady_clock::now();
    HttpGetResult result = HttpGet("http://" + silent.host_port() + "/x", options);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("The operation timed out", 0), 0u) << result.error;
    EXPECT_GE(elapsed, std::chrono::milliseconds(250));
    EXPECT_LT(elapsed, std::chrono::seconds(3));
  }
}

}  // namespace
