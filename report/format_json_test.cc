#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report.h"
#include "tests/support/report_fixture.h"

namespace {

// One record: what the caller passes (columns Item Code, Qty, a hidden one, Note)
// and the member values the document must hold, for the visible keys in order.
struct Record {
  std::string input;
  std::vector<std::string> members;
};
struct Section {
  std::string title;
  std::vector<Record> records;
};

// The document as cJSON prints the whole tree: what the streaming writer must match.
std::string DocumentByCjson(const std::vector<Section>& sections, unsigned report_id) {
  const char* const keys[] = {"item-code", "item--code", "note"};
  cJSON* root = cJSON_CreateArray();
  for (const Section& section : sections) {
    cJSON* object = cJSON_CreateObject();
    cJSON_AddItemToArray(root, object);
    cJSON_AddStringToObject(object, "title", section.title.c_str());
    cJSON_AddStringToObject(object, "creation_time", kReportTestTimeText);
    if (report_id != 0) cJSON_AddNumberToObject(object, "report_id", report_id);
    cJSON* records = cJSON_AddArrayToObject(object, "records");
    for (const Record& record : section.records) {
      cJSON* item = cJSON_CreateObject();
      cJSON_AddItemToArray(records, item);
      for (size_t i = 0; i < record.members.size(); ++i)
        cJSON_AddStringToObject(item, keys[i], record.members[i].c_str());
    }
  }
  char* printed = cJSON_Print(root);
  std::string text(printed);
  cJSON_free(printed);
  cJSON_Delete(root);
  return text;
}

TEST(ReportJsonTest, DocumentIsByteIdenticalToCjsonOfTheWholeTree) {
  struct Case {
    const char* what;
    std::vector<Section> sections;
    unsigned report_id;
  } cases[] = {
      {"no header: an empty array", {}, 0},
      {"report id; keys lower case with dashes", {{"Sales", {{"A1|5|h|n", {"A1", "5", "n"}}}}}, 12},
      {"several sections and records, an empty section",
       {{"One", {{"a|1|h|x", {"a", "1", "x"}}, {"b|2", {"b", "2"}}, {"c", {"c"}}}},
        {"Two", {}},
        {"Three", {{"d|4|h|w|beyond", {"d", "4", "w"}}}}},
       0},
      {"escapes, control characters and text beyond ASCII",
       {{"Quote \" and \\ slash",
         {{"tab\there|\"q\"|h|caf\xc3\xa9 \x01 ctl", {"tab\there", "\"q\"",
             "caf\xc3\xa9 \x01 ctl"}},
          {"a/b|</x>|h|\x7f", {"a/b", "</x>", ""}}}}},
       7},
      {"blank values and an empty record", {{"Gaps", {{" | |h| ", {"", "", ""}}, {"", {}}}}}, 0},
  };
  for (const Case& c : cases) {
    ReportTestEnv env;
    env.SetEnv("ZORMREPORTFORMAT", "Json");
    env.SetEnv("ZORMREPORTCOLUMNDELETE", "3");
    EXPECT_EQ(DocumentByCjson(c.sections, c.report_id), WriteReportText([&](Report& report) {
      report.report_number = static_cast<uint16_t>(c.report_id);
      report.AddColumn(10, "Item Code", 0);
      report.AddColumn(5, "ITEM  CODE", ReportColumnFlag::Numeric);
      report.AddColumn(5, "Hidden One", 0);
      report.AddColumn(5, "Note", 0);
      for (const Section& section : c.sections) {
        report.Header(nullptr, section.title.c_str(), "notes are not written");
        for (const Record& record : section.records) report.AddRecord("%s", record.input.c_str());
        report.Trailer();
      }
    })) << c.what;
  }
}

}  // namespace
