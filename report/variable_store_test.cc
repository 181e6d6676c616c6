#include "report/variable_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/scoped_time_zone.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

const char kVariablesFile[] = R"(
variable = {
  SITE = { value = "Main"; };
  PERIODEND = { type = "date"; date = "m-1"; };
  TODAY = { type = "date"; };
  YEAREND = { type = "date"; date = "y-1"; format = "%d.%m.%Y"; };
  UNPARSED = { type = "date"; date = "next week"; format = "%d.%m.%Y %H:%M"; };
  CAPITAL = { type = "Date"; value = "plain"; };
  NOVALUE = { };
  NUMBER = { value = 5; };
  LONG = { value = "0123456789012345678901234567890123456789"; };
};
)";

// A store over a variables file in a private home, Berlin time, Thursday 4 March 2021, noon.
class VariableStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { Load(kVariablesFile); }
  void TearDown() override { FreeVariables(&store_); }

  void Load(const std::string& contents) {
    ASSERT_TRUE(WriteWholeFile(home_.path() + "/variables.cfg", contents));
    home_.SetEnv("ZORMVARFILE", (home_.path() + "/variables.cfg").c_str());
    InitVariables(&store_, nullptr, 0);
  }
  std::string Get(const char* name) {
    const char* value = GetVariable(&store_, name);
    return value != nullptr ? value : "(none)";
  }
  std::string Expand(const std::string& input, unsigned size = 512, int no_environment = 0) {
    std::vector<char> output(size + 1, '#');
    ExpandVariables(&store_, input.c_str(), output.data(), size, no_environment);
    // Nothing past the output is touched, and the text ends within it.
    EXPECT_EQ('#', output[size]);
    const size_t length = strnlen(output.data(), size);
    EXPECT_LT(length, size);
    return std::string(output.data(), length);
  }

  ScopedTestHome home_;
  ScopedTimeZone zone_{"Europe/Berlin"};
  ScopedFixedTime clock_{1614855600};
  VariableStore store_;
};

TEST_F(VariableStoreTest, LooksUpSetsAndComputesDatesAtEachLookup) {
  SetVariable(&store_, "USER-NAME_2", "%s/%d", "ops", 7);
  SetVariable(&store_, "NOVALUE", "now set");
  SetVariable(&store_, "TODAY", "%s", "fixed");  // a date variable stays one
  SetVariable(&store_, "9LIVES", "x");            // names libconfig refuses set nothing
  SetVariable(&store_, "NUMBER", "6");            // a value of another type is not replaced
  SetVariable(&store_, "BIG", "%s", std::string(3000, 'v').c_str());
  for (auto [name, value] : {std::pair{"SITE", "Main"}, {"PERIODEND", "2021-02-28"},
                             {"YEAREND", "31.12.2020"}, {"UNPARSED", "04.03.2021 12:00"},
                             {"CAPITAL", "plain"}, {"NUMBER", "(none)"}, {"MISSING", "(none)"},
                             {"site", "(none)"}, {"USER-NAME_2", "ops/7"}, {"NOVALUE", "now set"},
                             {"TODAY", "2021-03-04"}, {"9LIVES", "(none)"}})
    EXPECT_EQ(value, Get(name)) << name;
  EXPECT_EQ(std::string(kVariableValueLimit, 'v'), Get("BIG"));
  AdvanceFixedTime(86400);
  EXPECT_EQ("2021-03-05", Get("TODAY"));
}

TEST_F(VariableStoreTest, ExpandsReferencesWithinTheOutputLimit) {
  home_.SetEnv("ZORMTESTUSER", "alice");
  home_.SetEnv("NOSUCHVAR", nullptr);
  const std::string name(300, 'N');
  struct Case {
    std::string input, output;
    unsigned size;
    int no_environment;
  } cases[] = {
      {"$SITE$SITE/$SITE-1 for %ZORMTESTUSER", "MainMain/$SITE-1 for alice", 512, 0},
      {"$$NAME %%PATH $$$SITE $SITE.txt $SITE..txt a..b",
          "$NAME %PATH $$SITE Maintxt Main.txt a..b", 512, 0},
      {"%ZORMTESTUSER.%NOSUCHVAR.x %NOSUCHVAR%",
          "alice***BADENV:NOSUCHVAR***x ***BADENV:NOSUCHVAR***%", 512, 0},
      {"$NOPE! $NOPE. $ $.x 100% sure", "$NOPE! $NOPE $ $x 100% sure", 512, 0},
      {"$PERIODEND..$YEAREND $NOVALUE", "2021-02-28.31.12.2020 $NOVALUE", 512, 0},
      // Names end after 255 characters; the text for a missing one is cut to 127.
      {"$" + name, "$" + name.substr(0, 126) + name.substr(255), 512, 0},
      {"%" + name, "***BADENV:" + name.substr(0, 117) + name.substr(255), 512, 0},
      {"%ZORMTESTUSER/%HOME for $SITE %%HOME %",
          "***BADENV:ZORMTESTUSER***/***BADENV:HOME*** for Main %HOME %", 512, 1},
      {"abcdef", "ab", 3, 0},
      {"$SITE", "Main", 5, 0},
      {"$SITE!", "!", 4, 0},  // the value does not fit, the text after it does
      {"ab$SITE.cd", "abMainc", 8, 0},
      {"$LONG$SITE", "Main", 20, 0},
      {"$NOPE", "", 5, 0},  // the reference as written does not fit either
  };
  for (const Case& c : cases) EXPECT_EQ(c.output, Expand(c.input, c.size, c.no_environment))
      << c.input;
}

TEST_F(VariableStoreTest, BrokenOrMissingFilesGiveAStoreThatStillWorks) {
  struct Case {
    const char* contents;  // null: ZORMVARFILE unset
    const char* site;
  } cases[] = {
      {"variable = { SITE = { value = \"Main\" } }", "Main"},  // the ';' may be left out
      {"variable = { SITE = { value = \"Main\"; }; };\nvariable2 = { oops\n", "(none)"},
      {nullptr, "(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents != nullptr ? c.contents : "unset");
    FreeVariables(&store_);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    home_.SetEnv("ZORMVARFILE", nullptr);
    if (c.contents != nullptr) Load(c.contents);
    else InitVariables(&store_, nullptr, 0);
    EXPECT_EQ("", testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr());
    EXPECT_EQ(c.site, Get("SITE"));
    SetVariable(&store_, "ADDED", "yes");
    EXPECT_EQ("yes", Expand("$ADDED"));
  }
}

}  // namespace
