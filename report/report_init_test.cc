#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "report/pdf_state.h"
#include "report/report.h"
#include "report/report_test_support.h"

namespace {

// Runs InitReport with a POST body on standard input.
class StdinFromText {
 public:
  explicit StdinFromText(const std::string& text) {
    fflush(stdin);  // drop what stdio buffered from the previous input
    saved_ = dup(0);
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

}  // namespace

TEST(ReportInitTest, FormatComesFromTheEnvironmentOutsideCgi) {
  ReportTestEnv env;
  struct Case {
    const char* value;  // null: unset
    ReportFormat expected;
  } cases[] = {
      {nullptr, ReportFormat::Text}, {"PDF", ReportFormat::Pdf},     {"csv", ReportFormat::Csv},
      {"Html", ReportFormat::Html},  {"eXcel", ReportFormat::Excel}, {"json", ReportFormat::Json},
      {"text", ReportFormat::Text},  {"xml", ReportFormat::Text},    {"", ReportFormat::Text},
      {"json ", ReportFormat::Text}, {"jso", ReportFormat::Text},
  };
  for (const Case& c : cases) {
    env.Set("ZORMREPORTFORMAT", c.value);
    Report report;
    InitReport(&report);
    EXPECT_EQ(c.expected, report.format) << (c.value ? c.value : "(unset)");
    EXPECT_EQ(0u, report.state & ReportState::CgiMode);
    EXPECT_EQ(&report, report.parent);
    EXPECT_EQ(kReportTestTime, report.creation_time);
    EXPECT_NE(nullptr, report.pdf);
    EXPECT_NE(nullptr, report.workbook);
    report.output = nullptr;
    report.Close();
  }
}

TEST(ReportInitTest, FormatComesFromTheRequestInCgiMode) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "pdf");  // not consulted in CGI mode
  env.Set("REQUEST_URI", "/cgi/report");
  struct Case {
    const char* method;  // null: unset
    const char* query;
    std::string body;
    const char* content_length;
    const char* cookie;
    ReportFormat expected;
  } cases[] = {
      {"GET", "RPT=json", "", nullptr, nullptr, ReportFormat::Json},
      {"get", "rpt=Json", "", nullptr, nullptr, ReportFormat::Json},
      {nullptr, "a=1&Rpt=csv&RPT=json", "", nullptr, nullptr, ReportFormat::Csv},
      {"GET", "RPT=", "", nullptr, nullptr, ReportFormat::Text},
      {"GET", "RPT=&RPT=csv", "", nullptr, nullptr, ReportFormat::Text},
      {"GET", "", "", nullptr, nullptr, ReportFormat::Text},
      {"GET", "RPT=x%6Dl", "", nullptr, nullptr, ReportFormat::Text},
      {"GET", "RPT=%68tml", "", nullptr, nullptr, ReportFormat::Html},
      {"GET", nullptr, "", nullptr, "RPT=json", ReportFormat::Text},
      {"POST", "RPT=json", "RPT=csv", "7", nullptr, ReportFormat::Csv},
      {"post", nullptr, "x=1&rpt=html", "12", "RPT=json", ReportFormat::Html},
      {"POST", nullptr, "RPT=csv", "99999999999999999999", nullptr, ReportFormat::Csv},
      {"POST", nullptr, "RPT=csvxxxx", "7", nullptr, ReportFormat::Csv},
      {"POST", nullptr, "RPT=csv", "-5", nullptr, ReportFormat::Text},
      {"PUT", "RPT=csv", "RPT=csv", "7", nullptr, ReportFormat::Text},
      {"POST", nullptr, "%%%=&&&=%zz", "11", nullptr, ReportFormat::Text},
  };
  for (const Case& c : cases) {
    env.Set("REQUEST_METHOD", c.method);
    env.Set("QUERY_STRING", c.query);
    env.Set("CONTENT_LENGTH", c.content_length);
    env.Set("HTTP_COOKIE", c.cookie);
    StdinFromText input(c.body);
    Report report;
    InitReport(&report);
    EXPECT_EQ(c.expected, report.format)
        << (c.method ? c.method : "-") << " " << (c.query ? c.query : "-") << " " << c.body;
    EXPECT_NE(0u, report.state & ReportState::CgiMode);
    report.output = nullptr;
    report.Close();
  }
}

TEST(ReportInitTest, CsvAndHtmlSettingsApplyOnlyToTheirFormat) {
  ReportTestEnv env;
  env.Set("ZORMCSVNOHEADER", "");
  env.Set("ZORMREPORTHTMLLOGO", "logo.png");
  env.Set("ZORMREPORTCOLUMNDELETE", (std::string("3,4,") + std::string(200, '8')).c_str());
  struct Case {
    const char* format;
    bool no_csv_heading;
    const char* logo;
  } cases[] = {{"csv", true, ""}, {"html", false, "logo.png"}, {"text", false, ""}};
  for (const Case& c : cases) {
    env.Set("ZORMREPORTFORMAT", c.format);
    Report report;
    InitReport(&report);
    EXPECT_EQ(c.no_csv_heading, (report.state & ReportState::NoCsvHeading) != 0) << c.format;
    EXPECT_EQ(c.logo, report.html_logo) << c.format;
    EXPECT_EQ(127u, strlen(report.column_delete));
    EXPECT_EQ(0, strncmp("3,4,888", report.column_delete, 7));
    report.output = nullptr;
    report.Close();
  }
}

TEST(ReportInitTest, NumberedVariablesApplyToTheirReportOnly) {
  ReportTestEnv env;
  env.Set("ZORMREPORTTITLE007", "Title Seven");
  env.Set("ZORMREPORTCOLUMNDELETE007", "1");
  env.Set("ZORMREPORTCOLUMNDELETE", "2");
  env.Set("ZORMREPORTTITLE000", "never");
  env.Set("ZORMDROPREPORT008", "");
  env.Set("ZORMDROPREPORT000", "");
  struct Case {
    uint16_t number;
    const char* title;
    const char* output;
    ReportFormat format;
  } cases[] = {
      {7, "Title Seven", "B,\nb,\n", ReportFormat::Csv},
      {0, "Plain", "A,\na,\n", ReportFormat::Csv},
      {8, "Plain", "", ReportFormat::Dropped},
  };
  for (const Case& c : cases) {
    MemoryOutput out;
    Report report;
    InitReport(&report);
    report.format = ReportFormat::Csv;
    report.output = out.stream();
    report.report_number = c.number;
    report.AddColumn(1, "A", 0);
    report.AddColumn(1, "B", 0);
    report.Header(nullptr, "Plain", nullptr);
    report.AddRecord("a|b");
    EXPECT_EQ(c.title, *report.last_title) << c.number;
    EXPECT_EQ(c.format, report.format) << c.number;
    report.Close();
    EXPECT_EQ(c.output, out.Text()) << c.number;
  }
}

TEST(ReportInitTest, PdfSettingsAreStoredAndLongOrMissingPathsIgnored) {
  ReportTestEnv env;
  std::string logo = env.home().path() + "/logo.jpg";
  ASSERT_TRUE(WriteWholeFile(logo, "jpeg"));
  Report report;
  InitReport(&report);
  report.SetPdfOrientation(1);
  report.SetPdfPageSize(3);
  report.SetPdfOutputPath("out.pdf");
  report.SetPdfOutputPath(std::string(261, 'p').c_str());
  report.SetPdfLogo(logo.c_str());
  report.SetPdfLogo((env.home().path() + "/missing.jpg").c_str());
  report.SetPdfLogo(env.home().path().c_str());  // a folder is not a file
  EXPECT_EQ(1u, report.pdf->orientation);
  EXPECT_EQ(3u, report.pdf->page_size);
  EXPECT_STREQ("out.pdf", report.pdf->output_path);
  EXPECT_EQ(logo, report.pdf->logo_path);
  report.output = nullptr;
  report.Close();
  EXPECT_EQ(nullptr, report.pdf);
}

TEST(ReportInitTest, ChildReportsBorrowTheParentsDocumentStateAndShareCounters) {
  ReportTestEnv env;
  Report parent, pdf_child, excel_child, text_child;
  InitReport(&parent);
  parent.output = nullptr;
  parent.SetPdfOutputPath("parent.pdf");
  struct Case {
    Report* child;
    ReportFormat format;
  } cases[] = {{&pdf_child, ReportFormat::Pdf},
               {&excel_child, ReportFormat::Excel},
               {&text_child, ReportFormat::Text}};
  for (const Case& c : cases) {
    InitReport(c.child);
    c.child->output = nullptr;
    c.child->format = c.format;
    c.child->parent = &parent;
    c.child->AddColumn(3, "a", 0);
    c.child->Header(nullptr, "Child", nullptr);
    c.child->AddRecord("1");
    c.child->AddRecord("2");
  }
  EXPECT_EQ(parent.pdf, pdf_child.pdf);
  EXPECT_NE(0u, pdf_child.state & ReportState::PdfBorrowed);
  EXPECT_STREQ("parent.pdf", pdf_child.pdf->output_path);
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

  // Children close first or last: a borrowed state is never freed by the child
  // (the sanitizer build would report a double free).
  pdf_child.Close();
  parent.Close();
  excel_child.Close();
  text_child.Close();
  EXPECT_EQ(nullptr, pdf_child.pdf);
}
