#include <gtest/gtest.h>

#include <string>

#include "report/report.h"
#include "report/report_test_support.h"

namespace {

std::string CsvReport(const char* deletion_list, void (*body)(Report*)) {
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.format = ReportFormat::Csv;
  report.output = out.stream();
  if (deletion_list) snprintf(report.column_delete, sizeof report.column_delete, "%s", deletion_list);
  report.AddColumn(5, "a", 0);
  report.AddColumn(5, "b b", ReportColumnFlag::Numeric);
  report.AddColumn(5, "c", 0);
  body(&report);
  report.Close();
  return out.Text();
}

}  // namespace

TEST(ReportCsvTest, LinesEndWithACommaAndValuesAreTrimmedNotQuoted) {
  ReportTestEnv env;
  struct Case {
    const char* what;
    const char* deletion_list;
    void (*body)(Report*);
    const char* expected;
  } cases[] = {
      {"heading and record", nullptr,
       [](Report* r) {
         r->Header(nullptr, "T", "notes");
         r->AddRecord("1|2|3");
       },
       "a,b b,c,\n1,2,3,\n"},
      {"trimmed values, numeric unchanged, commas not escaped", nullptr,
       [](Report* r) {
         r->Header(nullptr, "T", nullptr);
         r->AddRecord(" x \t|1,500|\"q\",r");
       },
       "a,b b,c,\nx,1,500,\"q\",r,\n"},
      {"a short record writes a short line", nullptr,
       [](Report* r) {
         r->Header(nullptr, "T", nullptr);
         r->AddRecord("only");
         r->AddRecord("%s", "");
       },
       "a,b b,c,\nonly,\n\n"},
      {"hidden column left out", "2",
       [](Report* r) {
         r->Header(nullptr, "T", nullptr);
         r->AddRecord("1|2|3");
       },
       "a,c,\n1,3,\n"},
      {"separator and trailer are empty lines; each header repeats the heading", nullptr,
       [](Report* r) {
         r->Header(nullptr, "T", nullptr);
         r->AddRecord("1");
         r->Separator();
         r->Trailer();
         r->Header(nullptr, "U", nullptr);
       },
       "a,b b,c,\n1,\n\n\na,b b,c,\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, CsvReport(c.deletion_list, c.body)) << c.what;
}

TEST(ReportCsvTest, NoHeaderVariableLeavesOutTheHeadingLine) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "csv");
  env.Set("ZORMCSVNOHEADER", "");
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.AddColumn(1, "a", 0);
  report.AddColumn(1, "b", 0);
  report.Header(nullptr, "T", nullptr);
  report.AddRecord("1|2");
  report.Trailer();
  report.Close();
  EXPECT_EQ("1,2,\n\n", out.Text());
}

TEST(ReportCsvTest, FormatNumbersOutsideTheTableWriteNothing) {
  ReportTestEnv env;
  for (uint32_t number : {1u, 7u, 99u, 100u, 0xFFFFFFFFu}) {
    MemoryOutput out;
    Report report;
    InitReport(&report);
    report.format = static_cast<ReportFormat>(number);
    report.output = out.stream();
    report.AddColumn(3, "a", 0);
    report.Header([](Report* r) { fputs("callback\n", r->output); }, "T", "%s", "n");
    report.AddRecord("1");
    report.Separator();
    report.Trailer();
    report.PdfBanner("b");
    report.Close();
    EXPECT_EQ("", out.Text()) << number;
    EXPECT_EQ(1u, report.record_counter) << number;
  }
}
