#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report.h"
#include "report/report_test_support.h"

namespace {

// One record: what the caller passes (columns Item Code, Qty, a hidden one, Note)
// and the member values the document must hold, for the visible keys in order.
struct RecordCase {
  std::string input;
  std::vector<std::string> members;
};

struct Section {
  std::string title;
  std::vector<RecordCase> records;
};

const char* const kKeys[] = {"item-code", "qty", "note"};

// The document as cJSON prints the whole tree: what the streaming writer must
// match byte for byte.
std::string DocumentByCjson(const std::vector<Section>& sections, unsigned report_id) {
  cJSON* root = cJSON_CreateArray();
  for (const Section& section : sections) {
    cJSON* object = cJSON_CreateObject();
    cJSON_AddItemToArray(root, object);
    cJSON_AddStringToObject(object, "title", section.title.c_str());
    cJSON_AddStringToObject(object, "creation_time", kReportTestTimeText);
    if (report_id != 0) cJSON_AddNumberToObject(object, "report_id", report_id);
    cJSON* records = cJSON_AddArrayToObject(object, "records");
    for (const RecordCase& record : section.records) {
      cJSON* item = cJSON_CreateObject();
      cJSON_AddItemToArray(records, item);
      for (size_t i = 0; i < record.members.size(); ++i)
        cJSON_AddStringToObject(item, kKeys[i], record.members[i].c_str());
    }
  }
  char* printed = cJSON_Print(root);
  std::string text(printed);
  cJSON_free(printed);
  cJSON_Delete(root);
  return text;
}

std::string WriteJson(const std::vector<Section>& sections, unsigned report_id) {
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.report_number = static_cast<uint16_t>(report_id);
  report.AddColumn(10, "Item Code", 0);
  report.AddColumn(5, "Qty", ReportColumnFlag::Numeric);
  report.AddColumn(5, "Hidden One", 0);
  report.AddColumn(5, "Note", 0);
  snprintf(report.column_delete, sizeof report.column_delete, "3");
  for (const Section& section : sections) {
    report.Header(nullptr, section.title.c_str(), "notes are not written");
    for (const RecordCase& record : section.records) report.AddRecord("%s", record.input.c_str());
    report.Trailer();
  }
  report.Close();
  return out.Text();
}

}  // namespace

TEST(ReportJsonTest, DocumentIsByteIdenticalToCjsonOfTheWholeTree) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "json");
  struct Case {
    const char* what;
    std::vector<Section> sections;
    unsigned report_id;
  } cases[] = {
      {"one section, one record", {{"Sales", {{"A1 | 5", {"A1", "5"}}}}}, 0},
      {"report id", {{"Sales", {{"A1|5|h|n", {"A1", "5", "n"}}}}}, 12},
      {"several sections and records, an empty section",
       {{"One", {{"a|1|h|x", {"a", "1", "x"}}, {"b|2", {"b", "2"}}, {"c", {"c"}}}},
        {"Two", {}},
        {"Three", {{"d|4|h|w|beyond", {"d", "4", "w"}}}}},
       0},
      {"escapes, control characters and text beyond ASCII",
       {{"Quote \" and \\ slash",
         {{"tab\there|\"q\"|h|caf\xc3\xa9 \x01 ctl", {"tab\there", "\"q\"", "caf\xc3\xa9 \x01 ctl"}},
          {"a/b|</x>|h|\x7f", {"a/b", "</x>", ""}}}}},
       7},
      {"blank values and an empty record",
       {{"Gaps", {{" | |h| ", {"", "", ""}}, {"", {}}, {"|||x", {"x"}}}}},
       0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DocumentByCjson(c.sections, c.report_id), WriteJson(c.sections, c.report_id)) << c.what;
}

TEST(ReportJsonTest, WithoutHeaderTheDocumentIsAnEmptyArray) {
  ReportTestEnv env;
  env.Set("ZORMREPORTFORMAT", "Json");
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.output = out.stream();
  report.Close();
  EXPECT_EQ("[]", out.Text());
}

TEST(ReportJsonTest, KeysAreLowerCaseWithDashesForBlanks) {
  ReportTestEnv env;
  MemoryOutput out;
  Report report;
  InitReport(&report);
  report.format = ReportFormat::Json;
  report.output = out.stream();
  report.AddColumn(5, "Item Code", 0);
  report.AddColumn(5, "ITEM  CODE", 0);
  report.Header(nullptr, "T", nullptr);
  EXPECT_STREQ("item-code", report.columns[0].name);
  EXPECT_STREQ("item--code", report.columns[1].name);
  report.AddRecord(" x | y ");
  report.Close();
  EXPECT_NE(std::string::npos, out.Text().find("\"item-code\":\t\"x\",\n\t\t\t\t\"item--code\":\t\"y\""));
}

TEST(ReportJsonTest, NoOutputStreamWritesNothing) {
  ReportTestEnv env;
  Report report;
  InitReport(&report);
  report.format = ReportFormat::Json;
  report.output = nullptr;
  report.AddColumn(5, "a", 0);
  report.Header(nullptr, "T", nullptr);
  report.AddRecord("1");
  report.Close();  // nothing to check but that it touches no stream (sanitizers)
  EXPECT_EQ(nullptr, report.json);
}
