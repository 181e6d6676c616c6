#include "report/cgi_request.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

CgiRequest Read(const std::map<std::string, std::string>& variables, const std::string& body,
                size_t* left_unread = nullptr) {
  FILE* stream = fmemopen(const_cast<char*>(body.data()), body.size(), "r");
  if (body.empty()) stream = fopen("/dev/null", "r");
  CgiRequest request = ReadCgiRequest(
      [&](const char* name) -> const char* {
        auto found = variables.find(name);
        return found != variables.end() ? found->second.c_str() : nullptr;
      },
      stream);
  if (left_unread != nullptr) {
    size_t count = 0;
    while (fgetc(stream) != EOF) ++count;
    *left_unread = count;
  }
  fclose(stream);
  return request;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

}  // namespace

TEST(CgiRequestTest, ReadsFormVariablesAndCookies) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> variables;
    std::string body;
    Pairs form;
    Pairs cookies;
  } cases[] = {
      {"query string, decoded",
       {{"REQUEST_METHOD", "GET"}, {"QUERY_STRING", "RPT=csv&name=a+b%21"}},
       "",
       {{"RPT", "csv"}, {"name", "a b!"}},
       {}},
      {"no method means GET", {{"QUERY_STRING", "x=1"}}, "", {{"x", "1"}}, {}},
      {"POST body, the query string ignored",
       {{"REQUEST_METHOD", "POST"}, {"QUERY_STRING", "q=1"}, {"CONTENT_LENGTH", "9"},
        {"CONTENT_TYPE", "application/x-www-form-urlencoded"}},
       "RPT=jsoEXTRA",
       {{"RPT", "jsoEX"}},
       {}},
      {"a length beyond the body reads what is there",
       {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", "1000"}},
       "a=1&b=2",
       {{"a", "1"}, {"b", "2"}},
       {}},
      {"a length that is not a number reads nothing",
       {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", "12abc"}},
       "a=1",
       {},
       {}},
      {"other methods carry no form",
       {{"REQUEST_METHOD", "DELETE"}, {"QUERY_STRING", "a=1"}, {"CONTENT_LENGTH", "3"}},
       "b=2",
       {},
       {}},
      {"cookies",
       {{"QUERY_STRING", "a=1"}, {"HTTP_COOKIE", "session=abc; RPT=json"}},
       "",
       {{"a", "1"}},
       {{"session", "abc"}, {"RPT", "json"}}},
      {"malformed input", {{"QUERY_STRING", "=&&=x&%&%4&a=%zz&b"}}, "", {}, {}},
  };
  for (const Case& c : cases) {
    CgiRequest request = Read(c.variables, c.body);
    // Malformed input: whatever cgicc makes of it, but never a crash; the
    // well-formed cases must match exactly.
    if (std::string(c.what) != "malformed input") {
      EXPECT_EQ(c.form, request.form) << c.what;
    }
    EXPECT_EQ(c.cookies, request.cookies) << c.what;
  }
}

TEST(CgiRequestTest, ReadsAtMostOneMebibyteOfBody) {
  std::string body = "RPT=csv&pad=" + std::string(2 << 20, 'x');
  size_t left = 0;
  CgiRequest request = Read({{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", std::to_string(body.size())}},
                            body, &left);
  EXPECT_EQ(body.size() - kCgiBodyLimit, left);
  ASSERT_NE(nullptr, FindFormValueNoCase(request, "rpt"));
  EXPECT_EQ("csv", *FindFormValueNoCase(request, "rpt"));
  EXPECT_EQ(nullptr, FindFormValueNoCase(request, "missing"));
}
