// zormreport as a CGI program under lighttpd: the format chosen by the request,
// the header lines the server passes on, and the body bytes a browser receives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <string>

#include "tests/e2e/lighttpd_server.h"
#include "tests/support/http_fetch.h"
#include "tests/support/pdf_reader.h"
#include "tests/support/test_env.h"

namespace {

std::string WithoutTime(const std::string& text) {
  static const std::regex time(R"([A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4} - \d\d:\d\d:\d\d \(UTC\))");
  return std::regex_replace(text, time, "<time>");
}

class ReportCgiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string root = home_.path() + "/www", cgi = home_.path() + "/cgi";
    mkdir(root.c_str(), 0755);
    mkdir(cgi.c_str(), 0755);
    std::string data = home_.path() + "/stock.txt";
    ASSERT_TRUE(WriteWholeFile(data, "Pipe|1250\nTom & \"Jerry\"|5\n"));
    ASSERT_TRUE(WriteWholeFile(cgi + "/report.cgi",
                               "#!/bin/sh\nexec '" ZORMREPORT_PATH
                               "' --title Stock --column Item:12 --column Qty:6:rn --input '" +
                                   data + "'\n"));
    chmod((cgi + "/report.cgi").c_str(), 0755);
    server_ = std::make_unique<LighttpdServer>(
        LighttpdServer::Options{root, cgi, {{"TZ", "UTC"}, {"ZORMREPORTFORMAT", "pdf"}}, {}});
    std::string error;
    ASSERT_TRUE(server_->Start(&error)) << error;
  }

  HttpResult Fetch(const std::string& query, const std::string& method = "GET",
                   const std::string& body = "", std::vector<std::string> headers = {}) {
    HttpRequest request;
    request.url = server_->base_url() + "/cgi/report.cgi" + query;
    request.method = method;
    request.body = body;
    request.headers = std::move(headers);
    return HttpFetch(request);
  }

  ScopedTestHome home_;
  std::unique_ptr<LighttpdServer> server_;
};

const char kText[] =
    "\n             System: Calvaro\n Report Description: Stock\n    Production Time: <time>\n"
    "       Report Width: 20 bytes\n\nItem            Qty \n------------ ------ \n"
    "Pipe          1,250 \nTom & \"Jerry      5 \n------------ ------ \n";
const char kCsv[] = "Item,Qty,\nPipe,1250,\nTom & \"Jerry\",5,\n\n";
const char kJson[] =
    "[{\n\t\t\"title\":\t\"Stock\",\n\t\t\"creation_time\":\t\"<time>\",\n\t\t\"records\":\t[{\n"
    "\t\t\t\t\"item\":\t\"Pipe\",\n\t\t\t\t\"qty\":\t\"1250\"\n\t\t\t}, {\n"
    "\t\t\t\t\"item\":\t\"Tom & \\\"Jerry\\\"\",\n\t\t\t\t\"qty\":\t\"5\"\n\t\t\t}]\n\t}]";

}  // namespace

TEST_F(ReportCgiTest, RequestChoosesTheFormat) {
  const std::string form = "Content-Type: application/x-www-form-urlencoded";
  struct Case {
    const char* what;
    std::string query, method, body;
    std::vector<std::string> headers;
    std::string content_type, expected_body;
  } cases[] = {
      {"GET RPT=csv", "?RPT=csv", "GET", "", {}, "text/plain;", kCsv},
      {"GET rpt=Json", "?rpt=Json", "GET", "", {}, "application/json;", kJson},
      {"GET RPT= (empty) is text", "?RPT=", "GET", "", {}, "text/plain;", kText},
      {"GET unknown name is text", "?RPT=xml&x=1", "GET", "", {}, "text/plain;", kText},
      {"GET first RPT wins", "?a=b&Rpt=csv&RPT=json", "GET", "", {}, "text/plain;", kCsv},
      {"POST form body", "", "POST", "x=1&rpt=csv", {form}, "text/plain;", kCsv},
      {"POST body over the query string", "?RPT=csv", "POST", "RPT=json", {form},
       "application/json;", kJson},
      {"cookie does not choose the format", "", "GET", "", {"Cookie: RPT=json; s=1"},
       "text/plain;", kText},
      {"cookie beside a query", "?RPT=csv", "GET", "", {"Cookie: RPT=json"}, "text/plain;", kCsv},
  };
  for (const Case& c : cases) {
    HttpResult result = Fetch(c.query, c.method, c.body, c.headers);
    EXPECT_EQ(200, result.status) << c.what << ": " << result.error << server_->ErrorLog();
    EXPECT_EQ(c.content_type, result.Header("Content-Type")) << c.what << "\n" << result.header_block;
    EXPECT_EQ(c.expected_body, WithoutTime(result.body)) << c.what;
  }
}

TEST_F(ReportCgiTest, HtmlResponseIsAWholeDocument) {
  HttpResult result = Fetch("?RPT=html");
  EXPECT_EQ(200, result.status) << result.error;
  EXPECT_EQ("text/html;", result.Header("Content-Type"));
  EXPECT_EQ(0u, result.body.find("<html><body><table width=\"100%\">")) << result.body;
  EXPECT_NE(std::string::npos,
            result.body.find("<tr><td><tt>Tom &amp; &quot;Jerry&quot;</tt></td>"
                             "<td align=\"right\"><tt>5</tt></td></tr></table><p></p></body><html>"))
      << result.body;
  EXPECT_EQ(result.body.size(), result.body.find("</body><html>") + 13);
}

TEST_F(ReportCgiTest, PdfResponseCarriesTheDocumentWithItsLength) {
  HttpResult result = Fetch("?RPT=pdf");
  EXPECT_EQ(200, result.status) << result.error << server_->ErrorLog();
  EXPECT_EQ("application/pdf", result.Header("Content-Type")) << result.header_block;
  const std::regex disposition(
      R"(attachment; filename="Report-\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d\.pdf")");
  EXPECT_TRUE(std::regex_match(result.Header("Content-Disposition"), disposition))
      << result.header_block;
  EXPECT_EQ(std::to_string(result.body.size()), result.Header("Content-Length"));
  EXPECT_EQ(0u, result.body.find("%PDF-1."));
  const std::string path = home_.path() + "/response.pdf";
  ASSERT_TRUE(WriteWholeFile(path, result.body));
  ASSERT_TRUE(PdfStructureIsSound(path));
  const std::vector<PdfWord> words = ReadPdfWords(path);
  EXPECT_EQ(1u, FindPdfWords(words, 1, "Stock").size());
  EXPECT_EQ(1u, FindPdfWords(words, 1, "1,250").size());
  const std::regex qr(R"(1;Stock;[A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4} - \d\d:\d\d:\d\d)");
  const std::string decoded = DecodeMirroredQrCode(path, 1);
  EXPECT_TRUE(std::regex_match(decoded, qr)) << decoded;
  // The document went out as the response only: no file was written.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.path()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find("Report-"))
        << entry.path();
}
