// Reading a CGI request with GNU cgicc: the form variables of the query string
// (GET) or of the body (POST, CONTENT_LENGTH bytes of standard input), and the
// cookies. Malformed requests never fail: what cannot be read is left out.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// At most this much of a POST body is read: a report request carries a few short
// form variables, and a CONTENT_LENGTH that promises more (or an absurd number)
// must not make the program allocate or wait for it.
constexpr size_t kCgiBodyLimit = 1 << 20;

struct CgiRequest {
  std::vector<std::pair<std::string, std::string>> form;     // in request order
  std::vector<std::pair<std::string, std::string>> cookies;  // from HTTP_COOKIE
};

// Looks up REQUEST_METHOD, QUERY_STRING, CONTENT_LENGTH, CONTENT_TYPE and
// HTTP_COOKIE through `environment` (null: not set). The form variables come from
// QUERY_STRING when the method is not set or is GET (any case), from `body` when it
// is POST (any case; at most min(CONTENT_LENGTH, kCgiBodyLimit) bytes, fewer when
// the body ends early); other methods carry none.
CgiRequest ReadCgiRequest(const std::function<const char*(const char*)>& environment,
                          FILE* body);

// The value of the first form variable whose name equals `name` without regard to
// case, or null.
const std::string* FindFormValueNoCase(const CgiRequest& request, const char* name);
