#include "app/change_history_text.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ChangeHistoryTextTest, DateWrittenIntoABufferReadsAsStrftimeWritesIt) {
  // Before day 0, rounding to the next midnight, out of range, invalid, null; 3- and 4-digit years.
  std::vector<OleDate> dates = {OleDate(-1.25), OleDate(44382.9999999), OleDate(1e7),
                                OleDate(1.0, OleDate::Status::kInvalid),
                                OleDate(1.0, OleDate::Status::kNull)};
  for (int year : {100, 999, 1000, 9999})
    dates.push_back(OleDate::FromParts(year, 2, 9, 23, 59, 59));
  for (const OleDate& date : dates) {
    const CRSSItem item{.m_dtDate = date};
    char buffer[kChangeDateBufferSize];
    EXPECT_EQ(ChangeDateText(item, buffer), ChangeDateText(item)) << date.days();
  }
}
