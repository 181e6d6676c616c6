// zormreport as a CGI program under lighttpd: the browser receives a PDF document
// or a workbook with its header lines, and nothing is left behind on the server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <string>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/cgi_script.h"
#include "tests/support/http_fetch.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"
#include "tests/support/workbook_reader.h"

namespace {

TEST(ReportCgiTest, BrowserReceivesTheDocumentOrWorkbookWithItsLength) {
  ScopedTestHome home;
  const std::string root = home.path() + "/www", cgi = home.path() + "/cgi",
                    temp = home.path() + "/cgi-tmp", data = home.path() + "/stock.txt";
  for (const std::string& folder : {root, cgi, temp}) mkdir(folder.c_str(), 0755);
  ASSERT_TRUE(WriteWholeFile(data,
      "Copper pipe|1,250\nGasket set|12.5\n#!header On order\nRadiator|24\n"));
  ASSERT_TRUE(WriteCgiScript(cgi + "/report.cgi", "exec '" ZORMREPORT_PATH "' --title Stock "
                             "--column Item:20 --column Qty:6:rn --input '" + data + "'\n"));
  // The environment's format is not consulted in CGI mode.
  LighttpdServer server({root, cgi, {{"TZ", "UTC"}, {"ZORMREPORTFORMAT", "csv"}, {"TMPDIR", temp}},
      {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;

  HttpResult pdf = HttpFetch({server.base_url() + "/cgi/report.cgi?RPT=pdf"});
  EXPECT_EQ(200, pdf.status) << pdf.error << server.ErrorLog();
  EXPECT_EQ("application/pdf", pdf.Header("Content-Type")) << pdf.header_block;
  EXPECT_TRUE(std::regex_match(pdf.Header("Content-Disposition"),
                               std::regex(R"(attachment; filename="Report-[-0-9]{19}\.pdf")")));
  EXPECT_EQ(std::to_string(pdf.body.size()), pdf.Header("Content-Length"));
  ASSERT_TRUE(WriteWholeFile(home.path() + "/response.pdf", pdf.body));
  ASSERT_TRUE(PdfStructureIsSound(home.path() + "/response.pdf"));
  EXPECT_TRUE(std::regex_match(DecodeMirroredQrCode(home.path() + "/response.pdf", 2),
                               std::regex(R"(2;On order;[A-Z][a-z]+day, .* - \d\d:\d\d:\d\d)")));

  HttpRequest post{server.base_url() + "/cgi/report.cgi", "POST", "x=1&rpt=EXCEL",
                   {"Content-Type: application/x-www-form-urlencoded"}};
  HttpResult excel = HttpFetch(post);
  EXPECT_EQ(200, excel.status) << excel.error << server.ErrorLog();
  EXPECT_EQ("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
            excel.Header("Content-Type")) << excel.header_block;
  EXPECT_TRUE(std::regex_match(excel.Header("Content-Disposition"),
                               std::regex(R"(attachment; filename="Sheet-[-0-9]{19}\.xlsx")")));
  EXPECT_EQ(std::to_string(excel.body.size()), excel.Header("Content-Length"));
  WorkbookReadBack read = ReadBackWorkbookBytes(excel.body);
  ASSERT_TRUE(read.ok) << read.error;
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ((Rows{{"s:Item", "s:Qty"}, {"s:Copper pipe", "n:1"}, {"s:Gasket set", "n:12"}}),
            read.sheets.at(0).rows);
  EXPECT_EQ((Rows{{"s:Item", "s:Qty"}, {}, {}, {"s:Radiator", "n:24"}}), read.sheets.at(1).rows);
  // The responses went out as bytes only: no file and no temporary file is left.
  EXPECT_TRUE(std::filesystem::is_empty(temp));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find("Report-")) << entry.path();
}

}  // namespace
