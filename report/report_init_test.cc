#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "report/report.h"
#include "tests/support/report_fixture.h"

namespace {

TEST(ReportInitTest, FormatComesFromTheEnvironmentOutsideCgi) {
  ReportTestEnv env;
  for (auto [value, format] : {std::pair{"PDF", ReportFormat::Pdf}, {"csv", ReportFormat::Csv},
                               {"Html", ReportFormat::Html}, {"eXcel", ReportFormat::Excel},
                               {"json", ReportFormat::Json}, {"json ", ReportFormat::Text},
                               {"jso", ReportFormat::Text}, {"", ReportFormat::Text}}) {
    env.SetEnv("ZORMREPORTFORMAT", value);
    Report report;
    InitReport(&report);
    EXPECT_EQ(format, report.format) << value;
    report.output = nullptr;
    report.Close();
  }
}

TEST(ReportInitTest, InCgiModeTheRequestChoosesTheFormatAndItsHeaderLineComesFirst) {
  ReportTestEnv env;
  env.SetEnv("ZORMREPORTFORMAT", "pdf");  // not consulted in CGI mode
  env.SetEnv("REQUEST_URI", "/cgi/report");
  env.SetEnv("CONTENT_LENGTH", "12");
  const std::string text = "Content-Type: text/plain;\n\r\n";
  struct Case {
    const char *method, *query, *cookie;  // null: unset
    std::string head;
  } cases[] = {
      {"get", "rpt=Json", nullptr,
       "Content-Type: application/json;\n\r\n[{\n\t\t\"title\""},
      {nullptr, "a=1&Rpt=csv&RPT=json", nullptr, text + "a,\n1,\n"},
      {"GET", "RPT=&RPT=csv", nullptr, text + "\n             System"},
      {"GET", nullptr, "RPT=json", text},
      {"post", "RPT=json", "RPT=json",  // the body "x=1&rpt=html"
       "Content-Type: text/html;\n\r\n<html><body><table"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.method ? c.method : "-") + " " + (c.query ? c.query : "-"));
    env.SetEnv("REQUEST_METHOD", c.method);
    env.SetEnv("QUERY_STRING", c.query);
    env.SetEnv("HTTP_COOKIE", c.cookie);
    ASSERT_TRUE(WriteWholeFile(env.Path("body"), "x=1&rpt=html"));
    ASSERT_TRUE(freopen(env.Path("body").c_str(), "r", stdin));
    CapturedStream output(1);
    {
      Report report;
      InitReport(&report);
      report.AddColumn(1, "a", 0);
      report.Header(nullptr, "T", nullptr);
      report.AddRecord("1");
      report.Close();
    }
    EXPECT_EQ(c.head, output.Text().substr(0, c.head.size()));
  }
}

TEST(ReportInitTest, NumberedSettingsApplyToTheirReport) {
  ReportTestEnv env;
  env.SetEnv("ZORMREPORTCOLUMNDELETE", "2");
  for (const char* name : {"ZORMREPORTTITLE007=Title Seven", "ZORMREPORTCOLUMNDELETE007=1",
                           "ZORMREPORTTITLE000=never", "ZORMDROPREPORT008=", "ZORMDROPREPORT000="})
    env.SetEnv(std::string(name, strchr(name, '=')), strchr(name, '=') + 1);
  for (auto [number, output] :
       {std::pair{7, "Title Seven|B,\nb,\n"}, {0, "Plain|A,\na,\n"}, {8, "Plain|"}}) {
    std::string title;
    const std::string text = WriteReportText([&](Report& report) {
      report.format = ReportFormat::Csv;
      report.report_number = number;
      report.AddColumn(1, "A", 0);
      report.AddColumn(1, "B", 0);
      report.Header(nullptr, "Plain", nullptr);
      report.AddRecord("a|b");
      title = *report.last_title;
    });
    EXPECT_EQ(output, title + "|" + text) << number;
  }
}

}  // namespace
