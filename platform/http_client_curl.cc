// HttpGet over libcurl's multi interface, so that the wait for each phase of the
// request can be bounded to the millisecond.
#include "platform/http_client.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "platform/curl_library.h"
#include "platform/huge_pages.h"
#include "platform/transfer_limits.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
  const HttpGetOptions* options;
  HttpGetResult* result;
  TransferWatch watch;
  uint64_t received = 0;          // header and body bytes
  bool headers_complete = false;  // the headers were all a caller wanted
  bool too_large = false;         // the body passed options->max_body_bytes
};

bool IsStatusLine(const char* data, size_t size) {
  return size >= 5 && std::string_view(data, 5) == "HTTP/";
}

// A body of announced size is received into one allocation instead of a string
// that grows by doubling; the announcement is only a hint and is capped.
void ReserveForAnnouncedBody(std::string_view line, Transfer* transfer) {
  static constexpr std::string_view kName = "content-length:";
  static constexpr size_t kMaxReserve = size_t{1} << 30;
  if (!transfer->options->read_body || line.size() <= kName.size()) return;
  for (size_t i = 0; i < kName.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return;
  unsigned long long announced = std::strtoull(std::string(line.substr(kName.size())).c_str(), nullptr, 10);
  if (announced > 0 && announced <= kMaxReserve) {
    std::string& body = transfer->result->body;
    body.reserve(body.size() + announced);
    AdviseHugePages(body.data(), body.capacity());
  }
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t length = size * count;
  transfer->received += length;
  // After a redirect or an interim 1xx answer the next status line starts a
  // new answer; only the last one is kept.
  if (IsStatusLine(data, length)) {
    transfer->result->raw_headers.clear();
    transfer->result->status = 0;
  }
  transfer->result->raw_headers.append(data, length);
  ReserveForAnnouncedBody(std::string_view(data, length), transfer);
  bool blank_line = (length == 2 && data[0] == '\r') || (length == 1 && data[0] == '\n');
  if (blank_line && !transfer->options->read_body) {
    long status = 0;
    std::string_view headers = transfer->result->raw_headers;
    size_t space = headers.find(' ');
    if (space != std::string_view::npos) status = std::atol(headers.data() + space + 1);
    bool will_follow = transfer->options->follow_redirects && status >= 300 && status < 400;
    if (status >= 200 && !will_follow) {
      transfer->result->status = status;
      transfer->headers_complete = true;
      return 0;  // ends the transfer: the body is not wanted
    }
  }
  return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  transfer->received += size * count;
  size_t limit = transfer->options->max_body_bytes;
  if (limit != 0 && transfer->result->body.size() + size * count > limit) {
    transfer->too_large = true;
    return 0;  // ends the transfer before the memory goes
  }
  transfer->result->body.append(data, size * count);
  return size * count;
}

int OnConnected(void* user, char*, char*, int, int) {
  auto* transfer = static_cast<Transfer*>(user);
  transfer->watch.Connected(Clock::now());
  return CURL_PREREQFUNC_OK;
}

bool IsHttpUrl(const std::string& url) {
  std::string scheme = url.substr(0, url.find("://"));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return url.find("://") != std::string::npos && (scheme == "http" || scheme == "https");
}

std::string DescribeFailure(const CurlLibrary& curl, CURLcode code, const std::string& url) {
  const char* text;
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      text = "The server name could not be resolved";
      break;
    case CURLE_COULDNT_RESOLVE_PROXY:
      text = "The proxy server name could not be resolved";
      break;
    case CURLE_COULDNT_CONNECT:
      text = "A connection with the server could not be established";
      break;
    case CURLE_OPERATION_TIMEDOUT:
      text = kTimedOutText;
      break;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
      text = "The connection with the server was terminated before the answer was complete";
      break;
    case CURLE_URL_MALFORMAT:
      text = "The URL is invalid";
      break;
    case CURLE_TOO_MANY_REDIRECTS:
      text = "The server redirected the request too many times";
      break;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:  // also an answer without a status line
      text = "The server returned an invalid or unrecognized response";
      break;
    case CURLE_OUT_OF_MEMORY:
      text = "Not enough memory to receive the answer";
      break;
    default:
      text = curl.curl_easy_strerror(code);
      break;
  }
  return std::string(text) + " (" + url + ")";
}

}  // namespace

HttpGetResult HttpGet(const std::string& url, const HttpGetOptions& options) {
  HttpGetResult result;
  const CurlLibrary* curl;
  if (Status loaded = LoadCurlLibrary(&curl); !loaded.ok()) {
    result.outcome = Status::Error(loaded.message() + " (" + url + ")");
    return result;
  }
  if (!IsHttpUrl(url)) {
    result.outcome = Status::Error(DescribeFailure(*curl, CURLE_URL_MALFORMAT, url));
    return result;
  }
  const int connect_ms =
      options.connect_timeout_ms > 0 ? options.connect_timeout_ms : options.phase_timeout_ms;
  const int stall_ms =
      options.stall_timeout_ms > 0 ? options.stall_timeout_ms : options.phase_timeout_ms;
  Transfer transfer{&options, &result,
                    TransferWatch({connect_ms, stall_ms, options.min_bytes_per_second})};

  CURL* easy = curl->curl_easy_init();
  CURLM* multi = curl->curl_multi_init();
  if (easy == nullptr || multi == nullptr) {
    curl->curl_easy_cleanup(easy);
    curl->curl_multi_cleanup(multi);
    result.outcome = Status::Error("Not enough memory to start the request (" + url + ")");
    return result;
  }
  curl->curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl->curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl->curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl->curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  if (!options.user_agent.empty()) curl->curl_easy_setopt(easy, CURLOPT_USERAGENT, options.user_agent.c_str());
  curl->curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, options.follow_redirects ? 1L : 0L);
  curl->curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);
  curl->curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
  curl->curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
  curl->curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, OnConnected);
  curl->curl_easy_setopt(easy, CURLOPT_PREREQDATA, &transfer);
  curl->curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 1L << 20);  // large bodies in few pieces
  if (connect_ms > 0)
    curl->curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connect_ms));
  curl->curl_multi_add_handle(multi, easy);

  const int poll_ms = stall_ms > 0 ? std::min(stall_ms, 20) : 1000;
  bool timed_out = false;
  int running = 1;
  while (running > 0) {
    if (curl->curl_multi_perform(multi, &running) != CURLM_OK) break;
    if (running == 0) break;
    // Connecting is bounded by libcurl; once connected, sending the request and
    // every wait for more of the answer are bounded here.
    if (!transfer.watch.Check(transfer.received, Clock::now())) {
      timed_out = true;
      break;
    }
    curl->curl_multi_poll(multi, nullptr, 0, poll_ms, nullptr);
  }

  CURLcode code = CURLE_OPERATION_TIMEDOUT;
  if (!timed_out) {
    int pending;
    code = CURLE_RECV_ERROR;
    while (CURLMsg* message = curl->curl_multi_info_read(multi, &pending))
      if (message->msg == CURLMSG_DONE) code = message->data.result;
  }
  if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && transfer.headers_complete)) {
    result.outcome = Status::Ok();
    if (!transfer.headers_complete) curl->curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.status);
  } else if (transfer.too_large) {
    result = HttpGetResult{};
    result.outcome =
        Status::Error("The answer is larger than " + std::to_string(options.max_body_bytes >> 20) +
                      " MB (" + url + ")");
  } else {
    result = HttpGetResult{};
    result.outcome = Status::Error(DescribeFailure(*curl, code, url));
  }
  curl->curl_multi_remove_handle(multi, easy);
  curl->curl_easy_cleanup(easy);
  curl->curl_multi_cleanup(multi);
  return result;
}
