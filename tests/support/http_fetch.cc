#include "tests/support/http_fetch.h"

#include <curl/curl.h>

#include <regex>

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
  CURL* curl = curl_easy_init();
  curl_slist* headers = nullptr;
  for (const std::string& header : request.headers)
    headers = curl_slist_append(headers, header.c_str());
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result.header_block);
  if (!request.user_agent.empty())
    curl_easy_setopt(curl, CURLOPT_USERAGENT, request.user_agent.c_str());
  if (request.method == "POST") {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
  }
  CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK)
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  else
    result.error = curl_easy_strerror(code);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return result;
}
