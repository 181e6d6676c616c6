#include "app/change_history_report.h"

#include <algorithm>
#include <string>

#include "app/change_history_text.h"
#include "report/report.h"

namespace {

// Descriptions are the widest column; a very long one is cut by the report's
// record limit anyway, so the column does not grow beyond this.
constexpr size_t kMaxDescriptionWidth = 120;

// A '|' separates the values of a record, so one inside a value is shown as a
// broken bar instead.
std::string RecordValue(const std::string& text) {
  std::string value;
  value.reserve(text.size());
  for (char c : text) {
    if (c == '|')
      value += "\xC2\xA6";
    else if (c == '\n' || c == '\r' || c == '\t')
      value += ' ';
    else
      value += c;
  }
  return value;
}

}  // namespace

unsigned WriteChangeHistoryReport(const std::vector<CRSSItem>& items, FILE* output) {
  size_t description_width = std::string("Description").size();
  for (const CRSSItem& item : items)
    description_width = std::max(description_width, item.m_strDescription.size());

  Report report;
  InitReport(&report);
  report.output = output;
  report.AddColumn(11, "Type", 0);
  report.AddColumn(10, "Date", 0);
  report.AddColumn(std::min(description_width, kMaxDescriptionWidth), "Description", 0);
  report.Header(nullptr, "Change History", nullptr);
  for (const CRSSItem& item : items) {
    report.AddRecord("%s|%s|%s", RecordValue(ChangeTypeText(item)).c_str(),
                     RecordValue(ChangeDateText(item)).c_str(),
                     RecordValue(item.m_strDescription).c_str());
  }
  report.Trailer();
  report.Close();
  return report.pdf_save_result;
}
