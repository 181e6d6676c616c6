#include "app/rss.h"

#include <gtest/gtest.h>

#include "util/clock.h"

namespace {

std::string Item(const std::string& title,
                 const std::string& pub_date = "Tue, 06 Jul 2021 09:30:00 GMT",
                 const std::string& extra = "") {
  return "<item><title>" + title + "</title><description>about " + title +
         "</description><pubDate>" + pub_date + "</pubDate>" + extra + "</item>";
}

std::string Feed(const std::string& channel_children) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel>" +
         channel_children + "</channel></rss>";
}

std::vector<std::string> TitlesRead(const std::string& document) {
  CRSS rss;
  rss.Read(document);
  std::vector<std::string> titles;
  for (const CRSSItem& item : rss.m_items) titles.push_back(item.m_strTitle);
  return titles;
}

using Titles = std::vector<std::string>;

TEST(CRSSReadTest, ReadsTheChannelsItemsInOrderAndNothingElse) {
  struct {
    const char* name;
    std::string document;
    Titles titles;
  } cases[] = {
      {"items between channel fields",
       Feed("<title>History</title>" + Item("E1") + "<link>http://x/</link>" + Item("F2")),
       {"E1", "F2"}},
      {"indented",
       "<rss>\n  <channel>\n    " + Item("A") + "\n    " + Item("B") + "\n  </channel>\n</rss>\n",
       {"A", "B"}},
      {"not well-formed", Feed(Item("E1")) + "<", {}},
      {"error page", "<html><body><h1>500 Internal Server Error</h1><br></body></html>", {}},
      {"plain text", "Service unavailable", {}},
      {"empty", "", {}},
      {"other root", "<feed><channel>" + Item("E1") + "</channel></feed>", {}},
      {"namespaced root", "<a:rss xmlns:a=\"u\"><channel>" + Item("E1") + "</channel></a:rss>", {}},
      {"no channel", "<rss>" + Item("E1") + "</rss>", {}},
      {"channel without items", Feed("<title>t</title><link>l</link>"), {}},
      {"item name is case-sensitive", Feed("<Item><title>X</title></Item>" + Item("E1")), {"E1"}},
      {"nested items are not the channel's",
       Feed("<group>" + Item("G") + "</group>" + Item("E1")),
       {"E1"}},
      {"only the first channel",
       "<rss><channel>" + Item("A") + "</channel><channel>" + Item("B") + "</channel></rss>",
       {"A"}},
      {"markup and cdata in the title",
       Feed(Item("E<b>1</b> &amp; <![CDATA[<2>]]>")),
       {"E1 & <2>"}},
      {"declared entities stay unexpanded",
       "<!DOCTYPE rss [<!ENTITY t \"Expanded\">]>" + Feed(Item("&t;")),
       {"&t;"}},
  };
  for (const auto& c : cases) EXPECT_EQ(TitlesRead(c.document), c.titles) << c.name;
}

TEST(CRSSReadTest, MissingFieldsAreEmptyAndReadingAppends) {
  CRSS rss;
  rss.Read(Feed("<item><pubDate>Tue, 06 Jul 2021 09:30:00 GMT</pubDate></item>"));
  rss.Read(Feed(Item("E2")));
  ASSERT_EQ(rss.m_items.size(), 2u);
  EXPECT_EQ(rss.m_items[0].m_strTitle, "");
  EXPECT_EQ(rss.m_items[0].m_strDescription, "");
  EXPECT_EQ(rss.m_items[0].m_nType, 0);
  EXPECT_EQ(rss.m_items[1].m_strDescription, "about E2");
}

TEST(ReducePubDateTest, KeepsTheSecondPieceWithoutItsLastFourCharacters) {
  struct {
    const char* pub_date;
    const char* reduced;  // null: too short, an error
  } cases[] = {
      {"Mon, 05 Jul 2021 12:00:00 GMT", " 05 Jul 2021 12:00:00"},
      {"Mon, 05 Jul 2021 12:00:00 +0000", " 05 Jul 2021 12:00:00 +"},
      {"Tue, 06 Jul 2021", " 06 Jul "},
      {",,Tue,, 06 Jul 2021 09:30:00 GMT", " 06 Jul 2021 09:30:00"},
      {"Tue, 06 Jul 2021 09:30:00 GMT, extra", " 06 Jul 2021 09:30:00"},
      {"Tue,abcd", ""},
      {"Tue,abc", nullptr},
      {"Tue 06 Jul 2021 09:30:00 GMT", nullptr},
      {"", nullptr},
      {",,,,", nullptr},
  };
  for (const auto& c : cases) {
    if (c.reduced != nullptr)
      EXPECT_EQ(ReducePubDate(c.pub_date), c.reduced) << c.pub_date;
    else
      EXPECT_THROW(ReducePubDate(c.pub_date), std::invalid_argument) << c.pub_date;
  }
}

TEST(CRSSReadTest, ParsesDatesAsTheServersWallClock) {
  // A date without its year (cut off with the zone) falls in the current year.
  ScopedFixedTime now(1767225600 + 86400 * 40);  // 10 February 2026, UTC
  struct {
    const char* pub_date;
    bool valid;
    const char* shown;  // "%Y-%m-%d %H:%M:%S" of a valid date
    double days;        // the value of an invalid one
  } cases[] = {
      {"Tue, 06 Jul 2021 09:30:00 GMT", true, "2021-07-06 09:30:00", 0},
      {"Tue, 06 Jul 2021 09:30:00 EST", true, "2021-07-06 09:30:00", 0},
      {"Tue, 06 Jul 2021 23:59:59 UTC", true, "2021-07-06 23:59:59", 0},
      {"Tue, 06 Jul 2021", true, "2026-07-06 00:00:00", 0},
      {"Tue, 06 Jul 2021 09:30:00 +0000", false, nullptr, 0.0},
      {"Tue,abcd", false, nullptr, 0.0},
      {"Tue, 06 Jul 12021 09:30:00 GMT", false, nullptr, -1.0},
  };
  for (const auto& c : cases) {
    CRSS rss;
    rss.Read(Feed(Item("E1", c.pub_date)));
    ASSERT_EQ(rss.m_items.size(), 1u) << c.pub_date;
    const OleDate& date = rss.m_items[0].m_dtDate;
    EXPECT_EQ(date.IsValid(), c.valid) << c.pub_date;
    if (c.valid) {
      EXPECT_EQ(date.Format("%Y-%m-%d %H:%M:%S"), c.shown) << c.pub_date;
    } else {
      EXPECT_EQ(date.days(), c.days) << c.pub_date;
      EXPECT_EQ(date.Format("%Y-%m-%d"), "Invalid DateTime") << c.pub_date;
    }
  }
}

TEST(CRSSReadTest, ShortDateStopsReadingAndKeepsEarlierEntries) {
  const char* short_dates[] = {"", "Tue 06 Jul 2021", "Tue,abc"};
  for (const char* pub_date : short_dates) {
    CRSS rss;
    std::string document = Feed(Item("E1") + Item("F2") + Item("E3", pub_date) + Item("E4"));
    EXPECT_THROW(rss.Read(document), std::invalid_argument) << pub_date;
    ASSERT_EQ(rss.m_items.size(), 2u) << pub_date;
    EXPECT_EQ(rss.m_items[1].m_strTitle, "F2");
  }
  CRSS missing;
  EXPECT_THROW(missing.Read(Feed(Item("E1") + "<item><title>E2</title></item>")),
               std::invalid_argument);
  EXPECT_EQ(missing.m_items.size(), 1u);
}

TEST(CRSSClassifyTest, OnlyAnUpperCaseEMarksAnEnhancement) {
  struct {
    const char* title;
    int64_t type;
  } cases[] = {
      {"E102 Faster scans", 1}, {"E", 1},        {"e102", 0}, {"Fix 7", 0}, {"", 0}, {" E1", 0},
      {"\xC3\x89tude", 0},      {"\xC3\x8B", 0},
  };
  std::string items;
  for (const auto& c : cases) items += Item(c.title);
  CRSS rss;
  rss.Read(Feed(items));
  for (CRSSItem& item : rss.m_items) EXPECT_EQ(item.m_nType, 0);  // before classifying
  rss.Classify();
  ASSERT_EQ(rss.m_items.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(rss.m_items[i].m_nType, cases[i].type) << cases[i].title;
}

TEST(CRSSReadTest, HostileDocumentsAppendNothingHarmful) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<x>";
  deep += "E-deep";
  for (int i = 0; i < 200000; ++i) deep += "</x>";
  const std::string laughs =
      "<!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d "
      "\"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>";
  struct {
    const char* name;
    std::string document;
    Titles titles;
  } cases[] = {
      {"deep title", Feed(Item(deep)), {"E-deep"}},
      {"deep channel", "<rss><channel>" + deep + Item("E1") + "</channel></rss>", {"E1"}},
      {"entity expansion", laughs + Feed(Item("&d;&d;&d;")), {"&d;&d;&d;"}},
      {"huge attribute",
       Feed("<item a=\"" + std::string(16 << 20, 'q') + "\">" + Item("E1").substr(6)),
       {"E1"}},
      {"invalid utf-8", Feed(Item("E\xFF\xFE\xC3")), {"E\xFF\xFE\xC3"}},
  };
  for (const auto& c : cases) EXPECT_EQ(TitlesRead(c.document), c.titles) << c.name;
}

}  // namespace
