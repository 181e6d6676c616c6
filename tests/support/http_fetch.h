// A plain HTTP client for tests, over libcurl, that does not follow redirects.
#pragma once

#include <string>
#include <vector>

struct HttpResult {
  long status = 0;           // 0 when the request failed
  std::string error;         // libcurl's text when it failed
  std::string header_block;  // the raw header lines as received
  std::string body;
  // The value of the first header of that name (case-insensitive), or "".
  std::string Header(const std::string& name) const;
};

struct HttpRequest {
  std::string url;
  std::string method = "GET";        // "GET" or "POST"
  std::string body;                  // POST body
  std::vector<std::string> headers;  // "Name: value" lines
  std::string user_agent;
};

HttpResult HttpFetch(const HttpRequest& request);
