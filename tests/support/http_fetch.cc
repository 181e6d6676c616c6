#include "tests/support/http_fetch.h"

#include <regex>

#include "platform/curl_library.h"

static size_t Append(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

std::string HttpResult::Header(const std::string& name) const {
  std::smatch value;
  const std::regex line("\r\n" + name + ": *([^\r]*)", std::regex::icase);
  return std::regex_search(header_block, value, line) ? value[1].str() : "";
}

HttpResult HttpFetch(const HttpRequest& request) {
  HttpResult result;
  const CurlLibrary* curl;
  if (Status loaded = LoadCurlLibrary(&curl); !loaded.ok()) {
    result.error = loaded.message();
    return result;
  }
  CURL* easy = curl->curl_easy_init();
  curl_slist* headers = nullptr;
  for (const std::string& header : request.headers)
    headers = curl->curl_slist_append(headers, header.c_str());
  curl->curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
  curl->curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl->curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
  curl->curl_easy_setopt(easy, CURLOPT_TIMEOUT, 60L);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Append);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEDATA, &result.body);
  curl->curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, Append);
  curl->curl_easy_setopt(easy, CURLOPT_HEADERDATA, &result.header_block);
  if (!request.user_agent.empty())
    curl->curl_easy_setopt(easy, CURLOPT_USERAGENT, request.user_agent.c_str());
  if (request.method == "POST") {
    curl->curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    curl->curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
  }
  CURLcode code = curl->curl_easy_perform(easy);
  if (code == CURLE_OK)
    curl->curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.status);
  else
    result.error = curl->curl_easy_strerror(code);
  curl->curl_slist_free_all(headers);
  curl->curl_easy_cleanup(easy);
  return result;
}
