#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "report/pdf_state.h"
#include "report/report.h"
#include "tests/support/report_fixture.h"

namespace {

// Standard input reads `text` while it lives.
class StdinFromText {
 public:
  explicit StdinFromText(const std::string& text) : saved_(dup(0)) {
    fflush(stdin);  // drop what stdio buffered from the previous input
    FILE* file = tmpfile();
    fwrite(text.data(), 1, text.size(), file);
    fflush(file);
    rewind(file);
    dup2(fileno(file), 0);
    fclose(file);
    clearerr(stdin);
  }
  ~StdinFromText() {
    fflush(stdin);
    dup2(saved_, 0);
    close(saved_);
    clearerr(stdin);
  }

 private:
  int saved_;
};

TEST(ReportInitTest, FormatComesFromTheEnvironmentOutsideCgi) {
  ReportTestEnv env;
  struct Case {
    const char* value;  // null: unset
    ReportFormat expected;
  } cases[] = {
      {nullptr, ReportFormat::Text}, {"PDF", ReportFormat::Pdf},     {"csv", ReportFormat::Csv},
      {"Html", ReportFormat::Html},  {"eXcel", ReportFormat::Excel}, {"json", ReportFormat::Json},
      {"xml", ReportFormat::Text},   {"json ", ReportFormat::Text},  {"jso", ReportFormat::Text},
  };
  for (const Case& c : cases) {
    env.Set("ZORMREPORTFORMAT", c.value);
    Report report;
    InitReport(&report);
    EXPECT_EQ(c.expected, report.format) << (c.value ? c.value : "(unset)");
    EXPECT_EQ(0u, report.state & ReportState::CgiMode);
    report.output = nullptr;
    report.Close();
  }
}

TEST(ReportInitTest, InCgiModeTheRequestChoosesTheFormatAndItsHeaderLineComesFirst) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "pdf");  // not consulted in CGI mode
  env.Set("REQUEST_URI", "/cgi/report");
  const std::string text = "Content-Type: text/plain;\n\r\n", html = "Content-Type: text/html;\n\r\n",
                    json = "Content-Type: application/json;\n\r\n";
  struct Case {
    const char *method, *query, *body, *content_length, *cookie;  // null: unset
    ReportFormat format;
    std::string head;
  } cases[] = {
      {"get", "rpt=Json", "", nullptr, nullptr, ReportFormat::Json, json + "[{\n\t\t\"title\""},
      {nullptr, "a=1&Rpt=csv&RPT=json", "", nullptr, nullptr, ReportFormat::Csv, text + "a,\n1,\n"},
      {"GET", "RPT=&RPT=csv", "", nullptr, nullptr, ReportFormat::Text, text + "\n     "},
      {"GET", "RPT=x%6Dl", "", nullptr, nullptr, ReportFormat::Text, text},
      {"GET", "RPT=%68tml", "", nullptr, nullptr, ReportFormat::Html, html + "<html><body><table"},
      {"GET", nullptr, "", nullptr, "RPT=json", ReportFormat::Text, text},
      {"POST", "RPT=json", "RPT=csv", "7", nullptr, ReportFormat::Csv, text},
      {"post", nullptr, "x=1&rpt=html", "12", "RPT=json", ReportFormat::Html, html},
      {"POST", nullptr, "RPT=csv", "99999999999999999999", nullptr, ReportFormat::Csv, text},
      {"POST", nullptr, "RPT=csvxxxx", "7", nullptr, ReportFormat::Csv, text},
      {"POST", nullptr, "RPT=csv", "-5", nullptr, ReportFormat::Text, text},
      {"PUT", "RPT=csv", "RPT=csv", "7", nullptr, ReportFormat::Text, text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.method ? c.method : "-") + " " + (c.query ? c.query : "-") + " " + c.body);
    env.Set("REQUEST_METHOD", c.method);
    env.Set("QUERY_STRING", c.query);
    env.Set("CONTENT_LENGTH", c.content_length);
    env.Set("HTTP_COOKIE", c.cookie);
    StdinFromText input(c.body);
    CapturedStream output;
    {
      Report report;
      InitReport(&report);
      EXPECT_EQ(c.format, report.format);
      EXPECT_NE(0u, report.state & ReportState::CgiMode);
      report.AddColumn(1, "a", 0);
      report.Header(nullptr, "T", nullptr);
      report.AddRecord("1");
      report.Close();
    }
    EXPECT_EQ(c.head, output.Text().substr(0, c.head.size()));
  }
}

TEST(ReportInitTest, SettingsApplyToTheirFormatAndNumberedOnesToTheirReport) {
  ReportTestEnv env;
  env.Set("ZORMCSVNOHEADER", "");
  env.Set("ZORMREPORTHTMLLOGO", "logo.png");
  env.Set("ZORMREPORTCOLUMNDELETE", (std::string("3,4,") + std::string(200, '8')).c_str());
  for (auto [format, no_csv_heading, logo] :
       {std::tuple{"csv", true, ""}, {"html", false, "logo.png"}, {"text", false, ""}}) {
    env.Set("ZORMREPORTFORMAT", format);
    Report report;
    InitReport(&report);
    EXPECT_EQ(no_csv_heading, (report.state & ReportState::NoCsvHeading) != 0) << format;
    EXPECT_EQ(logo, report.html_logo) << format;
    EXPECT_EQ("3,4,888" + std::string(120, '8'), report.column_delete);
    report.output = nullptr;
    report.Close();
  }
  env.Set("ZORMCSVNOHEADER", nullptr);
  env.Set("ZORMREPORTTITLE007", "Title Seven");
  env.Set("ZORMREPORTCOLUMNDELETE007", "1");
  env.Set("ZORMREPORTCOLUMNDELETE", "2");
  env.Set("ZORMREPORTTITLE000", "never");
  env.Set("ZORMDROPREPORT008", "");
  env.Set("ZORMDROPREPORT000", "");
  for (auto [number, title, output, format] :
       {std::tuple{7, "Title Seven", "B,\nb,\n", ReportFormat::Csv},
        {0, "Plain", "A,\na,\n", ReportFormat::Csv}, {8, "Plain", "", ReportFormat::Dropped}}) {
    MemoryOutput out;
    Report report;
    InitReport(&report);
    report.output = out.stream();
    report.format = ReportFormat::Csv;
    report.report_number = number;
    report.AddColumn(1, "A", 0);
    report.AddColumn(1, "B", 0);
    report.Header(nullptr, "Plain", nullptr);
    report.AddRecord("a|b");
    EXPECT_EQ(title, *report.last_title) << number;
    EXPECT_EQ(format, report.format) << number;
    report.Close();
    EXPECT_EQ(output, out.Text()) << number;
  }
}

TEST(ReportInitTest, PdfSettingsAreStoredAndLongOrMissingPathsIgnored) {
  ReportTestEnv env;
  const std::string logo = env.Path("logo.jpg");
  ASSERT_TRUE(WriteWholeFile(logo, "jpeg"));
  Report report;
  InitReport(&report);
  report.SetPdfOrientation(1);
  report.SetPdfPageSize(3);
  report.SetPdfOutputPath("out.pdf");
  report.SetPdfOutputPath(std::string(261, 'p').c_str());
  report.SetPdfLogo(logo.c_str());
  report.SetPdfLogo(env.Path("missing.jpg").c_str());
  report.SetPdfLogo(env.home().path().c_str());  // a folder is not a file
  EXPECT_EQ(1u, report.pdf->orientation);
  EXPECT_EQ(3u, report.pdf->page_size);
  EXPECT_STREQ("out.pdf", report.pdf->output_path);
  EXPECT_EQ(logo, report.pdf->logo_path);
  report.output = nullptr;
  report.Close();
}

TEST(ReportInitTest, ChildReportsBorrowTheParentsDocumentStateAndShareCounters) {
  ReportTestEnv env;
  Report parent, pdf_child, excel_child, text_child;
  InitReport(&parent);
  parent.output = nullptr;
  for (auto [child, format] : {std::pair{&pdf_child, ReportFormat::Pdf},
                               {&excel_child, ReportFormat::Excel}, {&text_child, ReportFormat::Text}}) {
    InitReport(child);
    child->output = nullptr;
    child->format = format;
    child->parent = &parent;
    child->AddColumn(3, "a", 0);
    child->Header(nullptr, "Child", nullptr);
    child->AddRecord("1");
    child->AddRecord("2");
  }
  EXPECT_EQ(parent.pdf, pdf_child.pdf);
  EXPECT_NE(0u, pdf_child.state & ReportState::PdfBorrowed);
  EXPECT_EQ(parent.workbook, excel_child.workbook);
  EXPECT_NE(0u, excel_child.state & ReportState::WorkbookBorrowed);
  EXPECT_NE(parent.pdf, text_child.pdf);
  EXPECT_NE(parent.workbook, text_child.workbook);
  parent.record_counter = parent.line_in_page = 9;
  text_child.Separator();  // the text format draws a line but keeps counting
  EXPECT_EQ(2u, text_child.record_counter);
  pdf_child.ResetCounters();
  EXPECT_EQ(0u, pdf_child.record_counter);
  EXPECT_EQ(0u, parent.record_counter);
  EXPECT_EQ(0u, parent.line_in_page);
  // A borrowed state is never freed by the child (the sanitizer build would see it).
  pdf_child.Close();
  parent.Close();
  excel_child.Close();
  text_child.Close();
}

}  // namespace
