#include "app/rss.h"

#include <gtest/gtest.h>

#include "util/clock.h"

namespace {

std::string Item(const std::string& title,
                 const std::string& pub_date = "Tue, 06 Jul 2021 09:30:00 GMT") {
  return "<item><title>" + title + "</title><description>d</description><pubDate>" + pub_date +
         "</pubDate></item>";
}

std::string Feed(const std::string& channel_children) {
  return "<?xml version=\"1.0\"?>\n<rss version=\"2.0\"><channel>" + channel_children +
         "</channel></rss>";
}

// Each item as "title|description|type|date", then "error" when Read threw.
std::vector<std::string> Read(const std::string& document) {
  CRSS rss;
  bool threw = false;
  try {
    rss.Read(document);
  } catch (const std::invalid_argument&) {
    threw = true;
  }
  rss.Classify();
  std::vector<std::string> items;
  for (const CRSSItem& item : rss.m_items)
    items.push_back(item.m_strTitle + "|" + item.m_strDescription + "|" +
                    std::to_string(item.m_nType) + "|" + item.m_dtDate.Format("%Y-%m-%d %H:%M"));
  if (threw) items.push_back("error");
  return items;
}

TEST(CRSSTest, ReadsTheChannelsItemsInOrderAndClassifiesThem) {
  ScopedFixedTime now(1767225600 + 86400 * 40);  // 10 February 2026: a date without its year
  const std::string e1 = "E1|d|1|2021-07-06 09:30";
  struct Case {
    const char* name;
    std::string document;
    std::vector<std::string> items;
  } const kCases[] = {
      {"items between channel fields",
       Feed("<title>H</title>" + Item("E1") + "<link>x</link>" +
            Item("F2", "Mon, 05 Jul 2021 23:59:59 UTC")),
       {e1, "F2|d|0|2021-07-05 23:59"}},
      {"not well-formed", Feed(Item("E1")) + "<", {}},
      {"error page", "<html><body><h1>500 Internal Server Error</h1></body></html>", {}},
      {"other root", "<feed><channel>" + Item("E1") + "</channel></feed>", {}},
      {"item names are case-sensitive", Feed("<Item><title>X</title></Item>" + Item("E1")), {e1}},
      {"nested items", Feed("<group>" + Item("G") + "</group>" + Item("E1")), {e1}},
      {"only the first channel",
       "<rss><channel>" + Item("E1") + "</channel><channel/></rss>",
       {e1}},
      {"markup and cdata",
       Feed(Item("E<b>1</b>&amp;<![CDATA[<2>]]>")),
       {"E1&<2>|d|1|2021-07-06 09:30"}},
      {"entities unexpanded",
       "<!DOCTYPE rss [<!ENTITY t 'E'>]>" + Feed(Item("&t;")),
       {"&t;|d|0|2021-07-06 09:30"}},
      {"missing fields",
       Feed("<item><pubDate>Tue, 06 Jul 2021 09:30:00 GMT</pubDate></item>"),
       {"||0|2021-07-06 09:30"}},
      {"only an upper-case E is an enhancement",
       Feed(Item("E") + Item("e102") + Item(" E1") + Item("\xC3\x89tude")),
       {"E|d|1|2021-07-06 09:30", "e102|d|0|2021-07-06 09:30", " E1|d|0|2021-07-06 09:30",
        "\xC3\x89tude|d|0|2021-07-06 09:30"}},
      {"zone cut as four characters",
       Feed(Item("E1", "Tue, 06 Jul 2021 09:30:00 +0000")),
       {"E1|d|1|Invalid DateTime"}},
      {"cut to nothing", Feed(Item("E1", "Tue,abcd")), {"E1|d|1|Invalid DateTime"}},
      {"year cut too", Feed(Item("E1", "Tue, 06 Jul 2021")), {"E1|d|1|2026-07-06 00:00"}},
      {"second piece of the commas", Feed(Item("E1", ",,Tue,, 06 Jul 2021 09:30:00 GMT, x")), {e1}},
      {"too short to cut", Feed(Item("E1") + Item("E2", "Tue,abc") + Item("E3")), {e1, "error"}},
      {"no comma", Feed(Item("E1") + Item("E2", "Tue 06 Jul 2021")), {e1, "error"}},
      {"no date", Feed(Item("E1") + "<item><title>E2</title></item>"), {e1, "error"}},
  };
  for (const Case& c : kCases) EXPECT_EQ(Read(c.document), c.items) << c.name;
}

}  // namespace
