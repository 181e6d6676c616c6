#include "tools/vendor/cgi_request.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleOfQueryTest, FindsTheModuleField) {
  struct Case {
    const char* query;
    std::optional<std::string> module;
  } const kCases[] = {
      {"Module=ABC", "ABC"},
      {"x=1&Module=ABC&y=2", "ABC"},
      {"Module=A&B", "A"},  // an ampersand always splits the query
      {"Module=A%20B+C%2", "A B C%2"},
      {"Module=", ""},
      {"module=ABC", std::nullopt},
      {"XModule=ABC", std::nullopt},
      {"", std::nullopt},
      {"&&&", std::nullopt},
      {"Module=1&Module=2", "1"},
  };
  for (const Case& c : kCases) EXPECT_EQ(ModuleOfQuery(c.query), c.module) << c.query;
}

}  // namespace
