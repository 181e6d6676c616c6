#include "report/cgi_request.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(CgiRequestTest, ReadsFormVariablesAndCookiesAndAtMostOneMebibyteOfBody) {
  const std::string big = "RPT=csv&pad=" + std::string(2 << 20, 'x');
  struct Case {
    const char* what;
    std::map<std::string, std::string> variables;
    std::string body;
    Pairs form, cookies;
    size_t left_unread;
  } cases[] = {
      {"query string, decoded", {{"REQUEST_METHOD", "GET"}, {"QUERY_STRING", "RPT=csv&n=a+b%21"}},
       "", {{"RPT", "csv"}, {"n", "a b!"}}, {}, 0},
      {"POST body of its length, the query string ignored",
       {{"REQUEST_METHOD", "POST"}, {"QUERY_STRING", "q=1"}, {"CONTENT_LENGTH", "9"}},
       "RPT=jsoEXTRA", {{"RPT", "jsoEX"}}, {}, 3},
      {"a length beyond the body reads what is there",
       {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", "1000"}}, "a=1&b=2", {{"a", "1"}, {"b",
           "2"}},
       {}, 0},
      {"a length that is not a number reads nothing",
       {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", "12abc"}}, "a=1", {}, {}, 3},
      {"other methods carry no form",
       {{"REQUEST_METHOD", "DELETE"}, {"QUERY_STRING", "a=1"}, {"CONTENT_LENGTH", "3"}}, "b=2", {},
       {}, 3},
      {"cookies", {{"QUERY_STRING", "a=1"}, {"HTTP_COOKIE", "session=abc; RPT=json"}}, "",
       {{"a", "1"}}, {{"session", "abc"}, {"RPT", "json"}}, 0},
      {"a body beyond the limit",
       {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", std::to_string(big.size())}}, big,
       {{"RPT", "csv"}, {"pad", std::string(kCgiBodyLimit - 12, 'x')}}, {},
           big.size() - kCgiBodyLimit},
  };
  for (const Case& c : cases) {
    FILE* stream = c.body.empty() ? fopen("/dev/null", "r")
                                  : fmemopen(const_cast<char*>(c.body.data()), c.body.size(), "r");
    CgiRequest request = ReadCgiRequest(
        [&](const char* name) -> const char* {
          auto found = c.variables.find(name);
          return found != c.variables.end() ? found->second.c_str() : nullptr;
        },
        stream);
    size_t left = 0;
    while (fgetc(stream) != EOF) ++left;
    fclose(stream);
    EXPECT_EQ(c.form, request.form) << c.what;
    EXPECT_EQ(c.cookies, request.cookies) << c.what;
    EXPECT_EQ(c.left_unread, left) << c.what;
  }
}

}  // namespace
