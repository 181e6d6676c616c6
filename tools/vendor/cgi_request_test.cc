#include "tools/vendor/cgi_request.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleOfQueryTest, FindsTheModuleField) {
  struct {
    const char* query;
    std::optional<std::string> module;
  } cases[] = {
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
  for (const auto& c : cases) EXPECT_EQ(ModuleOfQuery(c.query), c.module) << c.query;
}

TEST(ParseUpdateCheckAgentTest, SplitsProgramAndBuildDate) {
  struct {
    const char* agent;
    const char* program;  // null: not an update check
    const char* built;
  } cases[] = {
      {"Calvaro Upgrade Utility/2021-6-5 (Debian GNU/Linux build 6.1.0 x64)",
       "Calvaro Upgrade Utility", "2021-07-05"},
      {"Tool/2020-0-31 ( build 1 x64)", "Tool", "2020-01-31"},
      {"A/B Tool/1999-11-1 (x y z)", "A/B Tool", "1999-12-01"},
      {"Tool/1900-0-0 (x y z)", nullptr, nullptr},  // a build date that did not parse
      {"Tool/2021-12-5 (x y z)", nullptr, nullptr},
      {"Tool/2021-6-5", nullptr, nullptr},
      {"curl/7.88.1", nullptr, nullptr},
      {"/2021-6-5 (x y z)", nullptr, nullptr},
      {"", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    std::optional<UpdateCheckAgent> agent = ParseUpdateCheckAgent(c.agent);
    ASSERT_EQ(agent.has_value(), c.program != nullptr) << c.agent;
    if (agent) {
      EXPECT_EQ(agent->program, c.program);
      EXPECT_EQ(agent->built, c.built);
    }
  }
}

}  // namespace
