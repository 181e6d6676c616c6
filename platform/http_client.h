// HTTP GET for the feed reader and the update check. One call makes one request
// (following redirects or not) and returns what the server sent, or a text that
// tells the user why nothing came back. Proxy settings come from the environment
// (http_proxy, no_proxy, ...). Each call is independent; calls may run on
// different threads at the same time.
#pragma once

#include <string>

#include "util/status.h"

struct HttpGetOptions {
  std::string user_agent;        // sent as given; empty sends no User-Agent line
  bool follow_redirects = true;  // false: a 3xx answer is the result
  bool read_body = true;         // false: the transfer ends after the headers
  // 0: only the platform's defaults bound the request. Otherwise connecting,
  // sending the request, and every wait for more of the answer each give up
  // after this many milliseconds without progress.
  int phase_timeout_ms = 0;
  // When not 0, replace phase_timeout_ms for connecting and for the waits once
  // connected.
  int connect_timeout_ms = 0;
  int stall_timeout_ms = 0;
  // When not 0, once the answer has begun, fewer bytes a second than this on
  // average over a stall period also count as a time-out.
  int min_bytes_per_second = 0;
  // When not 0, a body of more bytes is refused and the request fails.
  size_t max_body_bytes = 0;
};

struct HttpGetResult {
  // Ok when a complete answer arrived; else what went wrong, in words a user can read.
  Status outcome = Status::Error("no request was made");
  long status = 0;          // status code of the last answer
  std::string raw_headers;  // status line and header lines of the last answer, as
                            // received, each ended by CR LF, then the empty line
  std::string body;         // the body byte for byte (empty when !read_body)
};

// GETs `url` ("http://host[:port]/path?query"). The url is sent as it stands: the
// caller encodes whatever must be encoded. An HTTP error status is not a failure;
// `outcome` is an error only when no complete answer arrived (unknown host, refused or
// dropped connection, a phase timed out, a malformed url).
HttpGetResult HttpGet(const std::string& url, const HttpGetOptions& options);
