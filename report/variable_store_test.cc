#include "report/variable_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/scoped_time_zone.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

constexpr time_t kThursdayNoon = 1614855600;  // 4 March 2021, 12:00 in Berlin

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

// A store over a variables file in a private home, Berlin time, Thursday noon.
class VariableStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadFile(kVariablesFile); }
  void TearDown() override { FreeVariables(&store_); }

  void LoadFile(const std::string& contents) {
    std::string path = home_.path() + "/variables.cfg";
    ASSERT_TRUE(WriteWholeFile(path, contents));
    home_.SetEnv("ZORMVARFILE", path.c_str());
    InitVariables(&store_, nullptr, 0);
  }
  std::string Get(const char* name) {
    const char* value = GetVariable(&store_, name);
    return value != nullptr ? value : "(none)";
  }
  std::string Expand(const char* input, unsigned size = 512, int no_environment = 0) {
    std::vector<char> output(size + 1, '#');
    ExpandVariables(&store_, input, output.data(), size, no_environment);
    // Nothing past the output is touched, and everything after the text is zero.
    EXPECT_EQ(output[size], '#');
    size_t length = strnlen(output.data(), size);
    EXPECT_LT(length, size);
    for (size_t i = length; i < size; ++i) EXPECT_EQ(output[i], '\0') << "byte " << i;
    return std::string(output.data(), length);
  }

  ScopedTestHome home_;
  ScopedTimeZone zone_{"Europe/Berlin"};
  ScopedFixedTime clock_{kThursdayNoon};
  VariableStore store_;
};

TEST_F(VariableStoreTest, LooksUpPlainAndDateVariablesOfTheFile) {
  struct {
    const char* name;
    const char* value;
  } cases[] = {
      {"SITE", "Main"},
      {"PERIODEND", "2021-02-28"},
      {"TODAY", "2021-03-04"},
      {"YEAREND", "31.12.2020"},
      {"UNPARSED", "04.03.2021 12:00"},  // no expression form: the current time
      {"CAPITAL", "plain"},
      {"NOVALUE", "(none)"},
      {"NUMBER", "(none)"},
      {"MISSING", "(none)"},
      {"site", "(none)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Get(c.name), c.value) << c.name;
}

TEST_F(VariableStoreTest, DateVariablesAreComputedAtEachLookup) {
  EXPECT_EQ(Get("TODAY"), "2021-03-04");
  AdvanceFixedTime(86400);
  EXPECT_EQ(Get("TODAY"), "2021-03-05");
  // Setting a value does not turn a date variable into a plain one.
  SetVariable(&store_, "TODAY", "%s", "fixed");
  EXPECT_EQ(Get("TODAY"), "2021-03-05");
  AdvanceFixedTime(-13 * 3600);  // 4 March, 23:00 -> still 4 March
  EXPECT_EQ(Expand("$TODAY"), "2021-03-04");
}

TEST_F(VariableStoreTest, SetVariableAddsAndReplacesValues) {
  EXPECT_EQ(SetVariable(&store_, "USER-NAME_2", "%s/%d", "ops", 7), 1);
  EXPECT_EQ(Get("USER-NAME_2"), "ops/7");
  SetVariable(&store_, "SITE", "Branch %c", 'B');
  EXPECT_EQ(Get("SITE"), "Branch B");
  SetVariable(&store_, "NOVALUE", "now set");
  EXPECT_EQ(Get("NOVALUE"), "now set");
  // Names libconfig refuses set nothing.
  EXPECT_EQ(SetVariable(&store_, "9LIVES", "x"), 1);
  EXPECT_EQ(Get("9LIVES"), "(none)");
  SetVariable(&store_, "TWO WORDS", "x");
  EXPECT_EQ(Get("TWO WORDS"), "(none)");
  // A value of a non-text type is not replaced.
  SetVariable(&store_, "NUMBER", "6");
  EXPECT_EQ(Get("NUMBER"), "(none)");
  // Values are cut to the limit.
  std::string long_value(3000, 'v');
  SetVariable(&store_, "BIG", "%s", long_value.c_str());
  EXPECT_EQ(Get("BIG"), long_value.substr(0, kVariableValueLimit));
}

TEST_F(VariableStoreTest, ExpandsReferences) {
  home_.SetEnv("ZORMTESTUSER", "alice");
  home_.SetEnv("NOSUCHVAR", nullptr);
  std::string long_name(300, 'N');
  struct {
    std::string input;
    std::string output;
  } cases[] = {
      {"$SITE stock for %ZORMTESTUSER", "Main stock for alice"},
      {"$$NAME", "$NAME"},
      {"%%PATH", "%PATH"},
      {"$$$SITE", "$$SITE"},
      {"$SITE.txt", "Maintxt"},
      {"$SITE..txt", "Main.txt"},
      {"a..b", "a..b"},
      {"%NOSUCHVAR%", "***BADENV:NOSUCHVAR***%"},
      {"%ZORMTESTUSER.%NOSUCHVAR.x", "alice***BADENV:NOSUCHVAR***x"},
      {"$NOPE!", "$NOPE!"},
      {"$NOPE.", "$NOPE"},
      {"$", "$"},
      {"$.x", "$x"},
      {"100% sure", "100% sure"},
      {"$SITE$SITE/$SITE-1", "MainMain/$SITE-1"},
      {"$PERIODEND..$YEAREND", "2021-02-28.31.12.2020"},
      {"$NOVALUE", "$NOVALUE"},
      {"", ""},
      // Names end after 255 characters; the text for a missing one is cut to 127.
      {"$" + long_name, "$" + long_name.substr(0, 126) + long_name.substr(255)},
      {"%" + long_name, "***BADENV:" + long_name.substr(0, 127 - 10) + long_name.substr(255)},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.input.c_str()), c.output) << c.input;
}

TEST_F(VariableStoreTest, NoEnvironmentTurnsEveryPercentReferenceIntoBadEnv) {
  home_.SetEnv("ZORMTESTUSER", "alice");
  EXPECT_EQ(Expand("%ZORMTESTUSER/%HOME for $SITE", 512, 1),
            "***BADENV:ZORMTESTUSER***/***BADENV:HOME*** for Main");
  EXPECT_EQ(Expand("%%HOME and %", 512, 1), "%HOME and %");
}

TEST_F(VariableStoreTest, ExpansionStopsAtTheOutputLimit) {
  struct {
    const char* input;
    unsigned size;
    const char* output;
  } cases[] = {
      {"$SITE", 1, ""},
      {"abcdef", 3, "ab"},
      {"$SITE", 5, "Main"},
      {"$SITE!", 4, "!"},              // the value does not fit, the text after it does
      {"ab$SITE.cd", 8, "abMainc"},
      {"ab$SITE.cd", 6, "abcd"},
      {"$LONG$SITE", 20, "Main"},
      {"$SITE$SITE$SITE", 10, "MainMain"},
      {"%%X", 2, "%"},
      {"$NOPE", 5, ""},                // the reference as written does not fit either
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.input, c.size), c.output) << c.input << " in " << c.size;
}

TEST_F(VariableStoreTest, ZeroSizedOutputIsLeftAlone) {
  char output = '#';
  EXPECT_EQ(ExpandVariables(&store_, "$SITE", &output, 0, 0), 1);
  EXPECT_EQ(output, '#');
}

TEST_F(VariableStoreTest, OperationTableAndLock) {
  VariableStoreOperations& ops = store_.operations;
  ops.SetVariable(&store_, "SLOT", "%d", 4);
  char output[32];
  ops.ExpandVariables(&store_, "$SLOT", output, sizeof output, 0);
  EXPECT_STREQ(output, "4");
  EXPECT_EQ(ops.EnterLock(&store_.lock), 1);
  EXPECT_EQ(ops.EnterLock(&store_.lock), 1);  // the holder may enter again
  EXPECT_EQ(ops.LockedAdd(&store_.lock, 3), 3u);
  EXPECT_EQ(ops.LockedAdd(&store_.lock, 2), 5u);
  EXPECT_EQ(ops.LeaveLock(&store_.lock), 1);
  EXPECT_EQ(ops.LeaveLock(&store_.lock), 1);
  EXPECT_EQ(store_.lock_state, kVariableLockInitialised);
  ops.FreeVariables(&store_);
  EXPECT_EQ(store_.lock_state, 0u);
  EXPECT_EQ(store_.owns_configuration, 0u);
  InitVariables(&store_, nullptr, 0);  // again, for TearDown
  EXPECT_EQ(store_.lock.counter, 0u);
  EXPECT_EQ(Get("SITE"), "Main");
}

TEST_F(VariableStoreTest, FileWithSyntaxErrorsGivesAnEmptyStoreSilently) {
  FreeVariables(&store_);
  const char* files[] = {
      "variable = { SITE = { value = \"Main\"; }; };\nvariable2 = { oops\n",
      "variable = { SITE = { value = \"Main\" } }",  // valid: the ';' may be left out
      "variable = { SITE = { value = \"Main\"; };\n",
      "variable = { SITE = { value = \"Main\"; }; SITE = { value = \"Other\"; }; };",
      "variable = { SITE = { value = \"unterminated; }; };",
      "\x01\x02\xff",
  };
  for (const char* contents : files) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadFile(contents);
    std::string printed = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "") << contents;
    bool valid = strcmp(contents, files[1]) == 0;
    EXPECT_EQ(Get("SITE"), valid ? "Main" : "(none)") << contents;
    // The store still works.
    SetVariable(&store_, "ADDED", "yes");
    EXPECT_EQ(Expand("$ADDED"), "yes") << contents;
    FreeVariables(&store_);
  }
  InitVariables(&store_, nullptr, 0);
}

TEST_F(VariableStoreTest, FileWithoutVariableGroupGetsOne) {
  FreeVariables(&store_);
  LoadFile("other = { SITE = { value = \"Main\"; }; };\n");
  EXPECT_EQ(Get("SITE"), "(none)");
  SetVariable(&store_, "SITE", "Here");
  EXPECT_EQ(Get("SITE"), "Here");
  FreeVariables(&store_);
  // A "variable" that is not a group: nothing is found and nothing can be set.
  LoadFile("variable = 5;\n");
  SetVariable(&store_, "SITE", "Here");
  EXPECT_EQ(Get("SITE"), "(none)");
  EXPECT_EQ(Expand("$SITE"), "$SITE");
}

TEST_F(VariableStoreTest, CallersConfigurationWithLoadedFlagIsNotReadNorDestroyed) {
  FreeVariables(&store_);
  config_t own;
  config_init(&own);
  InitVariables(&store_, &own, 1);
  EXPECT_EQ(store_.configuration, &own);
  EXPECT_EQ(store_.owns_configuration, 0u);
  EXPECT_EQ(Get("SITE"), "(none)");  // ZORMVARFILE is not read
  SetVariable(&store_, "SITE", "Mine");
  FreeVariables(&store_);
  const char* value = nullptr;
  ASSERT_TRUE(config_lookup_string(&own, "variable.SITE.value", &value));
  EXPECT_STREQ(value, "Mine");
  config_destroy(&own);

  // Without the loaded flag the store prepares the caller's configuration itself.
  config_t given;
  InitVariables(&store_, &given, 0);
  EXPECT_EQ(store_.owns_configuration, 1u);
  EXPECT_EQ(Get("SITE"), "Main");
  FreeVariables(&store_);
  InitVariables(&store_, nullptr, 0);
}

TEST_F(VariableStoreTest, UnsetVariablesFileGivesEmptyStore) {
  FreeVariables(&store_);
  home_.SetEnv("ZORMVARFILE", nullptr);
  InitVariables(&store_, nullptr, 0);
  EXPECT_EQ(Get("SITE"), "(none)");
  SetVariable(&store_, "SITE", "x");
  EXPECT_EQ(Get("SITE"), "x");
}

}  // namespace
