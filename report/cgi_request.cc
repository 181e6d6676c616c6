#include "report/cgi_request.h"

#include <cgicc/CgiEnvironment.h>
#include <cgicc/CgiInput.h>
#include <cgicc/Cgicc.h>
#include <cgicc/HTTPCookie.h>

#include <cstring>
#include <exception>

#include "util/string_compare.h"

namespace {

// Hands cgicc the request as we have already read and bounded it, so that cgicc
// neither reads standard input itself nor sees a CONTENT_LENGTH larger than the
// body we hold.
class BoundedCgiInput : public cgicc::CgiInput {
 public:
  BoundedCgiInput(std::string method, std::string query, std::string body,
                  std::string content_type, std::string cookie)
      : method_(std::move(method)),
        query_(std::move(query)),
        body_(std::move(body)),
        content_type_(std::move(content_type)),
        cookie_(std::move(cookie)) {}

  size_t read(char* data, size_t length) override {
    size_t count = std::min(length, body_.size() - offset_);
    memcpy(data, body_.data() + offset_, count);
    offset_ += count;
    return count;
  }

  std::string getenv(const char* name) override {
    if (strcmp(name, "REQUEST_METHOD") == 0) return method_;
    if (strcmp(name, "QUERY_STRING") == 0) return query_;
    if (strcmp(name, "CONTENT_LENGTH") == 0) return std::to_string(body_.size());
    if (strcmp(name, "CONTENT_TYPE") == 0) return content_type_;
    if (strcmp(name, "HTTP_COOKIE") == 0) return cookie_;
    return std::string();
  }

 private:
  std::string method_, query_, body_, content_type_, cookie_;
  size_t offset_ = 0;
};

// CONTENT_LENGTH as a byte count no larger than the limit; 0 when it is not a
// plain decimal number.
size_t BodyLengthToRead(const char* content_length) {
  if (content_length == nullptr) return 0;
  size_t length = 0;
  for (const char* p = content_length; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return 0;
    length = length * 10 + (*p - '0');
    if (length > kCgiBodyLimit) return kCgiBodyLimit;
  }
  return length;
}

std::string ReadBody(FILE* body, size_t length) {
  std::string data(length, '\0');
  size_t got = body != nullptr && length > 0 ? fread(data.data(), 1, length, body) : 0;
  data.resize(got);
  return data;
}

}  // namespace

CgiRequest ReadCgiRequest(const std::function<const char*(const char*)>& environment,
                          FILE* body) {
  auto variable = [&](const char* name) {
    const char* value = environment(name);
    return std::string(value != nullptr ? value : "");
  };
  const char* method = environment("REQUEST_METHOD");
  std::string query, post_body, content_type;
  // cgicc parses the query string for every method but POST and PUT; we show it
  // the query only for GET and the body only for POST.
  const char* method_for_cgicc = "GET";
  if (method == nullptr || StringsEqualNoCase(method, "GET")) {
    query = variable("QUERY_STRING");
  } else if (StringsEqualNoCase(method, "POST")) {
    method_for_cgicc = "POST";
    post_body = ReadBody(body, BodyLengthToRead(environment("CONTENT_LENGTH")));
    content_type = variable("CONTENT_TYPE");
  }

  CgiRequest request;
  try {
    BoundedCgiInput input(method_for_cgicc, std::move(query), std::move(post_body),
                          std::move(content_type), variable("HTTP_COOKIE"));
    cgicc::Cgicc cgi(&input);
    for (const cgicc::FormEntry& entry : *cgi)
      request.form.emplace_back(entry.getName(), entry.getValue());
    for (const cgicc::HTTPCookie& cookie : cgi.getEnvironment().getCookieList())
      request.cookies.emplace_back(cookie.getName(), cookie.getValue());
  } catch (const std::exception&) {
    // A request cgicc cannot read carries no variables.
  }
  return request;
}

const std::string* FindFormValueNoCase(const CgiRequest& request, const char* name) {
  for (const auto& [key, value] : request.form)
    if (StringsEqualNoCase(key.c_str(), name)) return &value;
  return nullptr;
}
