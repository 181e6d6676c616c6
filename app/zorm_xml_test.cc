#include "app/zorm_xml.h"

#include <gtest/gtest.h>

namespace {

// The wrapper's own contract on top of the document: results and emptied outputs.
class ProbeXML : public CZORMXML {
 public:
  Node Select(const std::string& path) { return m_pDoc->SelectSingle(m_pDoc->Root(), path); }
};

TEST(CZORMXMLTest, LoadXMLTellsParsedFromNotWellFormed) {
  ProbeXML xml;
  EXPECT_EQ(xml.LoadXML("<rss><channel/></rss>"), XmlResult::kOk);
  EXPECT_FALSE(xml.Select("rss/channel").IsNull());
  EXPECT_EQ(xml.LoadXML("<rss><channel></rss>"), XmlResult::kFalse);
  EXPECT_TRUE(xml.Select("rss").IsNull());
  EXPECT_EQ(xml.LoadXML(""), XmlResult::kFalse);
}

TEST(CZORMXMLTest, GetChildTextEmptiesItsOutputAndSaysWhetherItFound) {
  ProbeXML xml;
  ASSERT_EQ(xml.LoadXML("<item><title>E1 <b>bold</b></title><pubDate/><x:a xmlns:x='u'>n</x:a>"
                        "</item>"),
            XmlResult::kOk);
  ProbeXML::Node item = xml.Select("item");
  EXPECT_EQ(xml.GetNodeName(item), "item");
  struct {
    const char* name;
    XmlResult result;
    const char* text;
  } cases[] = {
      {"title", XmlResult::kOk, "E1 bold"}, {"pubDate", XmlResult::kOk, ""},
      {"title/b", XmlResult::kOk, "bold"},  {"description", XmlResult::kFalse, ""},
      {"Title", XmlResult::kFalse, ""},     {"a", XmlResult::kFalse, ""},
      {"][", XmlResult::kFalse, ""},
  };
  for (const auto& c : cases) {
    std::string text = "left over";
    EXPECT_EQ(xml.GetChildText(item, c.name, &text), c.result) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
}

}  // namespace
