// The early load against the vendor's site: the dialog must get exactly what a
// load of its own would have given, errors included.
#include "app/change_history_load.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/feed_fetch.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/test_env.h"

namespace {

std::vector<std::string> Titles(const CRSS& rss) {
  std::vector<std::string> titles;
  for (const CRSSItem& item : rss.m_items)
    titles.push_back(item.m_strTitle + (item.m_nType ? " E" : " F"));
  return titles;
}

class ChangeHistoryLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(site_.Start(&error)) << error;
    home_.SetEnv("ZORMVENDORSERVER", site_.host_port().c_str());
  }
  void TearDown() override { EndChangeHistoryLoad(); }

  ScopedTestHome home_;
  VendorSite site_{{true, "", {}}};
};

TEST_F(ChangeHistoryLoadTest, TheEarlyLoadGivesWhatALoadHereGives) {
  CRSS here;
  LoadChangeHistory("ABC", &here);
  ASSERT_EQ(here.m_items.size(), 4u);

  StartChangeHistoryLoad("ABC");
  StartChangeHistoryLoad("LEDGER");  // one is already waiting: ignored
  CRSS early;
  LoadChangeHistory("ABC", &early);
  EXPECT_EQ(Titles(early), Titles(here));
  EXPECT_EQ(early.m_items[2].m_strDescription, here.m_items[2].m_strDescription);
  EXPECT_EQ(early.m_items[2].m_dtDate, here.m_items[2].m_dtDate);
}

TEST_F(ChangeHistoryLoadTest, ALoadForAnotherModuleIsNotTaken) {
  StartChangeHistoryLoad("LEDGER");
  CRSS rss;
  LoadChangeHistory("ABC", &rss);
  EXPECT_EQ(rss.m_items.size(), 4u);
  CRSS ledger;
  LoadChangeHistory("LEDGER", &ledger);
  EXPECT_EQ(Titles(ledger), std::vector<std::string>{"E210 Period close E"});
}

TEST_F(ChangeHistoryLoadTest, ErrorsArriveWhenTheLoadIsTakenWithTheEntriesBeforeThem) {
  home_.SetEnv("ZORMVENDORSERVER", "127.0.0.1:1");
  StartChangeHistoryLoad("ABC");
  CRSS refused;
  EXPECT_THROW(LoadChangeHistory("ABC", &refused), InternetError);
  EXPECT_TRUE(refused.m_items.empty());

  // The second item's pubDate holds no date: the first one stays, unclassified,
  // since Classify never ran.
  VendorSite broken({false, "", {{"changelog.cgi", R"(printf 'Content-Type: text/xml\r\n\r\n'
printf '<rss><channel><item><title>E1</title><pubDate>Mon, 05 Jul 2021 12:00:00 GMT</pubDate></item>'
printf '<item><title>F2</title><pubDate>Mon</pubDate></item></channel></rss>')"}}});
  std::string error;
  ASSERT_TRUE(broken.Start(&error)) << error;
  home_.SetEnv("ZORMVENDORSERVER", broken.host_port().c_str());
  StartChangeHistoryLoad("ABC");
  CRSS partial;
  EXPECT_THROW(LoadChangeHistory("ABC", &partial), std::invalid_argument);
  EXPECT_EQ(Titles(partial), std::vector<std::string>{"E1 F"});
}

}  // namespace
