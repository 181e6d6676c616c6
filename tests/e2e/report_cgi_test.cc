// zormreport as a CGI program under lighttpd: the browser receives the PDF document
// with its header lines, and nothing is left behind on the server. The other formats'
// responses are checked byte for byte in the report writer's own tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/cgi_script.h"
#include "tests/support/http_fetch.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

TEST(ReportCgiTest, BrowserReceivesTheDocument) {
  ScopedTestHome home;
  const std::string root = home.path() + "/www", cgi = home.path() + "/cgi",
                    temp = home.path() + "/cgi-tmp", data = home.path() + "/stock.txt";
  for (const std::string& folder : {root, cgi, temp}) mkdir(folder.c_str(), 0755);
  ASSERT_TRUE(WriteWholeFile(data, "Copper pipe|1,250\n#!header On order\nRadiator|24\n"));
  ASSERT_TRUE(WriteCgiScript(cgi + "/report.cgi", "exec '" ZORMREPORT_PATH "' --title Stock "
                             "--column Item:20 --column Qty:6:rn --input '" + data + "'\n"));
  // The environment's format is not consulted in CGI mode.
  LighttpdServer server({root, cgi, {{"TZ", "UTC"}, {"ZORMREPORTFORMAT", "csv"}, {"TMPDIR", temp}},
      {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;

  HttpRequest post{server.base_url() + "/cgi/report.cgi", "POST", "x=1&rpt=PDF",
                   {"Content-Type: application/x-www-form-urlencoded"}};
  HttpResult pdf = HttpFetch(post);
  EXPECT_EQ(200, pdf.status) << pdf.error << server.ErrorLog();
  EXPECT_EQ("application/pdf", pdf.Header("Content-Type")) << pdf.header_block;
  ASSERT_TRUE(WriteWholeFile(home.path() + "/response.pdf", pdf.body));
  EXPECT_EQ(1u, FindPdfWords(ReadPdfWords(home.path() + "/response.pdf"), 2, "order").size());
  // The response went out as bytes only: no file and no temporary file is left.
  EXPECT_TRUE(std::filesystem::is_empty(temp));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find("Report-")) << entry.path();
}

}  // namespace
