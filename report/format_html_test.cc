#include <gtest/gtest.h>

#include <string>

#include "report/html_escape.h"
#include "report/report.h"
#include "tests/support/report_fixture.h"

namespace {

std::string HeadingTable(const std::string& first_cell) {
  return "<table width=\"100%\"><tr><td width=\"20%\" bgcolor=\"#ffffff\">" + first_cell +
         "</td><td width=\"80%\" bgcolor=\"#0A4169\"><font size=\"6\" color=\"#fff\">&nbsp; Stock"
         "</td><tr><td width = \"20%\" bgcolor=\"#ffffff\"></td><td width = \"80%\" "
         "bgcolor=\"#ffffff\">Production Time: " + kReportTestTimeText + "</td>";
}

TEST(ReportHtmlTest, WritesHeadingTableEscapedRecordsAndEnd) {
  const std::string columns =
      "</tr></table><table><tr bgcolor=\"#EEEEEE\"><th>Name</th><th>Qty</th></tr>";
  struct Case {
    std::string logo;  // ZORMREPORTHTMLLOGO, empty: unset
    std::string first_cell;
  } cases[] = {
      {"", "<h1>Report</h1>"},
      {"logo.png",
       "<img src=\"logo.png\" alt=\"Report Logo\" style=\"width:237px;height:59px;border:0;\">"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logo.substr(0, 20));
    ReportTestEnv env;
    env.SetEnv("ZORMREPORTFORMAT", "HTML");
    env.SetEnv("ZORMREPORTHTMLLOGO", c.logo.empty() ? nullptr : c.logo.c_str());
    env.SetEnv("ZORMREPORTCOLUMNDELETE", "3");
    const std::string text = WriteReportText([](Report& report) {
      report.AddColumn(10, "Name", 0);
      report.AddColumn(5, "Qty", ReportColumnFlag::RightAlign | ReportColumnFlag::Numeric);
      report.AddColumn(5, "Gone", 0);
      report.Header(nullptr, "Stock", "%s", "first");
      report.AddRecord(" Tom & \"Jerry\" > Spike |1500|x");
      report.AddRecord("<b>'");
      report.Trailer();
      report.Header(nullptr, "Stock", "%s", "");
    });
    const std::string heading = HeadingTable(c.first_cell);
    EXPECT_EQ(heading + "</tr><tr>\n<td width=\"20%\" bgcolor=\"#ffffff\"></td><td width=\"80%\" "
                  "bgcolor=\"#ffffff\">Report Notes: first</td></tr>" + columns +
                  "<tr><td><tt>Tom &amp; &quot;Jerry&quot; &gt; Spike</tt></td>"
                  "<td align=\"right\"><tt>1500</tt></td></tr>"
                  "<tr><td><tt>&lt;b&gt;&apos;</tt></td></tr></table><p></p>" +
                  heading + columns + "</body><html>",
              text);
  }
}

TEST(ReportHtmlTest, EscapedValueIsCutBetweenEntities) {
  char buffer[kHtmlEscapeBuffer];
  std::string quotes;
  while (quotes.size() < 505) quotes += "&quot;";
  for (auto [value, expected] : {std::pair{std::string(600, 'x'), std::string(505, 'x')},
                                 {std::string(504, 'x') + "&&", std::string(504, 'x') + "&amp;"},
                                 {std::string(600, '"'), quotes}})
    EXPECT_EQ(expected, EscapeHtmlValue(value, buffer));
}

}  // namespace
