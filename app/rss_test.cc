#include "app/rss.h"

#include <gtest/gtest.h>

#include "util/clock.h"

namespace {

std::string Item(const std::string& title, const std::string& date = "Tue, 06 Jul 2021 09:30 GMT") {
  return "<item><title>" + title + "</title><description>d</description><pubDate>" + date +
         "</pubDate></item>";
}

std::string Feed(const std::string& items) { return "<rss><channel>" + items + "</channel></rss>"; }

// "error" when Read threw, then each item as "title|description|type|date".
std::vector<std::string> Read(const std::string& document) {
  CRSS rss;
  std::vector<std::string> items;
  try {
    rss.Read(document);
  } catch (const std::invalid_argument&) {
    items.push_back("error");
  }
  rss.Classify();
  for (const CRSSItem& item : rss.m_items)
    items.push_back(item.m_strTitle + "|" + item.m_strDescription + "|" +
                    std::to_string(item.m_nType) + "|" + item.m_dtDate.Format("%Y-%m-%d %H:%M"));
  return items;
}

TEST(CRSSTest, ReadsTheChannelsItemsInOrderAndClassifiesThem) {
  ScopedFixedTime now(1767225600 + 86400 * 40);  // 10 February 2026: a date without its year
  const std::string e1 = "E1|d|1|2021-07-06 09:30", at = "|d|0|2021-07-06 09:30";
  struct Case {
    std::string document;
    std::vector<std::string> items;
  } const kCases[] = {
      {"<?xml version='1.0'?><rss><channel><title/>" + Item("E1") + "<link/>" +
           Item("F", "Mon, 05 Jul 2021 23:59:59 UTC") + "</channel></rss>",
       {e1, "F|d|0|2021-07-05 23:59"}},
      {Feed(Item("E1")) + "<", {}},
      {"<html><channel>" + Item("E1") + "</channel></html>", {}},
      {Feed("<Item/><group>" + Item("G") + "</group>" + Item("E1")), {e1}},
      {"<rss><channel>" + Item("E1") + "</channel><channel>" + Item("E2") + "</channel></rss>",
       {e1}},
      {Feed(Item("E<b>1</b>&amp;<![CDATA[<2>]]>")), {"E1&<2>|d|1|2021-07-06 09:30"}},
      {"<!DOCTYPE rss [<!ENTITY t 'E'>]>" + Feed(Item("&t;")), {"&t;" + at}},
      {Feed("<item><pubDate>Tue, 06 Jul 2021 09:30 GMT</pubDate></item>"),
       {"||0|2021-07-06 09:30"}},
      {Feed(Item("E") + Item("e1") + Item(" E") + Item("\xC3\x89")),
       {"E|d|1|2021-07-06 09:30", "e1" + at, " E" + at, "\xC3\x89" + at}},
      {Feed(Item("E1", "Tue, 06 Jul 2021 09:30 +0000")), {"E1|d|1|Invalid DateTime"}},
      {Feed(Item("E1", "Tue, 06 Jul 2021")), {"E1|d|1|2026-07-06 00:00"}},
      {Feed(Item("E1", ",,Tue,, 06 Jul 2021 09:30 GMT, x")), {e1}},
      {Feed(Item("E1") + Item("E2", "Tue,abc") + Item("E3")), {"error", e1}},
      {Feed(Item("E1") + Item("E2", "Tue 06 Jul 2021")), {"error", e1}},
      {Feed(Item("E1") + "<item><title>E2</title></item>"), {"error", e1}},
  };
  for (const Case& c : kCases) EXPECT_EQ(Read(c.document), c.items) << c.document;
}

// Long enough to be read in two halves at once: the entries stay in document
// order and end before the first bad date, whichever half it is in.
TEST(CRSSTest, ALongHistoryKeepsItsOrderAndEndsAtItsFirstBadDate) {
  constexpr int kItems = 10000;
  const struct {
    int bad_first, bad_second;  // -1: none
    size_t kept;
  } kCases[] = {{-1, -1, 10000}, {-1, 7000, 7000}, {3000, 7000, 3000}, {4999, -1, 4999},
                {-1, 5000, 5000}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.kept);
    std::string items;
    for (int i = 0; i < kItems; ++i)
      items += Item("E" + std::to_string(i), i == c.bad_first || i == c.bad_second
                                                 ? "x"
                                                 : "Tue, 06 Jul 2021 09:30 GMT");
    CRSS rss;
    bool threw = false;
    try {
      rss.Read(Feed(items));
    } catch (const std::invalid_argument&) {
      threw = true;
    }
    EXPECT_EQ(threw, c.kept < kItems);
    ASSERT_EQ(rss.m_items.size(), c.kept);
    for (size_t i = 0; i < c.kept; ++i)
      if (rss.m_items[i].m_strTitle != "E" + std::to_string(i) ||
          rss.m_items[i].m_dtDate.Format("%Y-%m-%d") != "2021-07-06") {
        ADD_FAILURE() << "entry " << i << " is " << rss.m_items[i].m_strTitle;
        break;
      }
  }
}

}  // namespace
