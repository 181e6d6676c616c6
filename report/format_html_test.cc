#include <gtest/gtest.h>

#include <string>

#include "report/html_escape.h"
#include "report/report.h"
#include "report/report_test_support.h"

namespace {

const std::string kHeadingTable =
    std::string("<table width=\"100%\"><tr><td width=\"20%\" bgcolor=\"#ffffff\"><h1>Report</h1></td>"
                "<td width=\"80%\" bgcolor=\"#0A4169\"><font size=\"6\" color=\"#fff\">&nbsp; Stock</td>"
                "<tr><td width = \"20%\" bgcolor=\"#ffffff\"></td><td width = \"80%\" "
                "bgcolor=\"#ffffff\">Production Time: ") +
    kReportTestTimeText + "</td>";

}  // namespace

TEST(ReportHtmlTest, WritesHeadingTableRecordsAndEnd) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "HTML");
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.AddColumn(10, "Name", 0);
  report.AddColumn(5, "Qty", ReportColumnFlag::RightAlign | ReportColumnFlag::Numeric);
  report.AddColumn(5, "Gone", 0);
  snprintf(report.column_delete, sizeof report.column_delete, "3");
  report.Header(nullptr, "Stock", "%s", "first");
  report.AddRecord(" Tom & \"Jerry\" > Spike |1500|x");
  report.AddRecord("<b>'");
  report.Trailer();
  report.Header(nullptr, "Stock", "%s", "");
  report.Close();
  EXPECT_EQ(kHeadingTable +
                "</tr><tr>\n<td width=\"20%\" bgcolor=\"#ffffff\"></td><td width=\"80%\" "
                "bgcolor=\"#ffffff\">Report Notes: first</td></tr>"
                "</tr></table><table><tr bgcolor=\"#EEEEEE\"><th>Name</th><th>Qty</th></tr>"
                "<tr><td><tt>Tom &amp; &quot;Jerry&quot; &gt; Spike</tt></td>"
                "<td align=\"right\"><tt>1500</tt></td></tr>"
                "<tr><td><tt>&lt;b&gt;&apos;</tt></td></tr>"
                "</table><p></p>" +
                kHeadingTable +
                "</tr></table><table><tr bgcolor=\"#EEEEEE\"><th>Name</th><th>Qty</th></tr>"
                "</body><html>",
            out.Text());
}

TEST(ReportHtmlTest, LogoAddressReplacesTheHeadingAndIsCut) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "html");
  struct Case {
    std::string address;
    std::string expected_cell;
  } cases[] = {
      {"logo.png",
       "<img src=\"logo.png\" alt=\"Report Logo\" style=\"width:237px;height:59px;border:0;\">"},
      // The whole tag has at most 299 characters: "<img src=\"" and 289 of the address.
      {std::string(400, 'a'), "<img src=\"" + std::string(289, 'a')},
  };
  for (const Case& c : cases) {
    env.Set("ZORMREPORTHTMLLOGO", c.address.c_str());
    MemoryOutput out;
    Report report;
    InitReport(&report);
    report.output = out.stream();
    report.Header(nullptr, "Stock", nullptr);
    report.Close();
    EXPECT_EQ(0u, out.Text().find("<table width=\"100%\"><tr><td width=\"20%\" bgcolor=\"#ffffff\">" +
                                  c.expected_cell + "</td>"))
        << out.Text();
  }
}

TEST(ReportHtmlTest, EscapingStopsAfter505BytesWithoutSplittingAnEntity) {
  char buffer[kHtmlEscapeBuffer];
  struct Case {
    std::string value;
    std::string expected;
  } cases[] = {
      {"plain", "plain"},
      {std::string(600, 'x'), std::string(505, 'x')},
      {std::string(504, 'x') + "&&", std::string(504, 'x') + "&amp;"},
      {std::string(600, '"'), [] {
         std::string s;
         while (s.size() < 505) s += "&quot;";
         return s;
       }()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, EscapeHtmlValue(c.value, buffer));
    EXPECT_LE(strlen(buffer), 510u);
  }
}
