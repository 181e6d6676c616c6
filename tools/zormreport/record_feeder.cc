#include "tools/zormreport/record_feeder.h"

#include "report/html_escape.h"

RecordFeeder::RecordFeeder(Report* report, std::string title, std::optional<std::string> notes)
    : report_(report), title_(std::move(title)), notes_(std::move(notes)) {}

void RecordFeeder::Header(const std::string& title) {
  // The writer takes titles and notes as markup; ours are text.
  const bool html = report_->format == ReportFormat::Html;
  const std::string shown = html ? EscapeHtml(title) : title;
  if (notes_)
    report_->Header(nullptr, shown.c_str(), "%s", (html ? EscapeHtml(*notes_) : *notes_).c_str());
  else
    report_->Header(nullptr, shown.c_str(), nullptr);
  section_has_records_ = false;
}

void RecordFeeder::StartOnce() {
  if (started_) return;
  started_ = true;
  Header(title_);
}

bool RecordFeeder::Line(const std::string& line) {
  StartOnce();
  ended_with_trailer_ = false;
  if (line.rfind("#!", 0) != 0) {
    // Taken literally: the line is an argument, never a format.
    report_->AddRecord("%s", line.c_str());
    section_has_records_ = true;
    return true;
  }
  size_t blank = line.find(' ');
  std::string word = line.substr(2, blank == std::string::npos ? std::string::npos : blank - 2);
  std::string text = blank == std::string::npos ? "" : line.substr(blank + 1);
  if (word == "header") {
    if (section_has_records_) report_->Trailer();
    Header(text);
  } else if (word == "trailer") {
    report_->Trailer();
    section_has_records_ = false;
    ended_with_trailer_ = true;
  } else if (word == "separator") {
    report_->Separator();
  } else if (word == "reset") {
    report_->ResetCounters();
  } else if (word == "banner") {
    report_->PdfBanner(text.c_str());
  } else {
    return false;
  }
  return true;
}

void RecordFeeder::Finish() {
  StartOnce();
  if (!ended_with_trailer_) report_->Trailer();
  report_->Close();
}
