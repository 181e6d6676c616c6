#include <gtest/gtest.h>

#include <string>

#include "report/report.h"
#include "tests/support/report_fixture.h"

TEST(ReportCsvTest, LinesEndWithACommaAndValuesAreTrimmedNotQuoted) {
  struct Case {
    const char *what, *deletion_list, *no_header;  // null: unset
    void (*body)(Report*);
    const char* expected;
  } cases[] = {
      {"trimmed values, numeric unchanged, commas not escaped", nullptr, nullptr,
       [](Report* r) { r->AddRecord(" x \t|1,500|\"q\",r"); }, "a,b b,c,\nx,1,500,\"q\",r,\n"},
      {"a short record writes a short line", nullptr, nullptr,
       [](Report* r) { r->AddRecord("only"); r->AddRecord("%s", ""); }, "a,b b,c,\nonly,\n\n"},
      {"hidden column left out", "2", nullptr, [](Report* r) { r->AddRecord("1|2|3"); },
       "a,c,\n1,3,\n"},
      {"separator and trailer are empty lines; each header repeats the heading", nullptr, nullptr,
       [](Report* r) {
         r->AddRecord("1");
         r->Separator();
         r->Trailer();
         r->Header(nullptr, "U", nullptr);
       },
       "a,b b,c,\n1,\n\n\na,b b,c,\n"},
      {"no heading line", nullptr, "", [](Report* r) { r->AddRecord("1|2"); r->Trailer(); },
       "1,2,\n\n"},
  };
  for (const Case& c : cases) {
    ReportTestEnv env;
    env.SetEnv("ZORMREPORTFORMAT", "csv");
    env.SetEnv("ZORMREPORTCOLUMNDELETE", c.deletion_list);
    env.SetEnv("ZORMCSVNOHEADER", c.no_header);
    EXPECT_EQ(c.expected, WriteReportText([&](Report& report) {
      report.AddColumn(5, "a", 0);
      report.AddColumn(5, "b b", ReportColumnFlag::Numeric);
      report.AddColumn(5, "c", 0);
      report.Header(nullptr, "T", "notes");
      c.body(&report);
    })) << c.what;
  }
}
