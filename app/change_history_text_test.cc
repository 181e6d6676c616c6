#include "app/change_history_text.h"

#include <gtest/gtest.h>

TEST(ChangeHistoryTextTest, DateWrittenIntoABufferReadsAsStrftimeWritesIt) {
  const OleDate kDates[] = {
      OleDate::FromParts(100, 1, 1),   OleDate::FromParts(999, 12, 31, 23, 59, 59),
      OleDate::FromParts(1000, 2, 9),  OleDate::FromParts(9999, 12, 31),
      OleDate(44382.9999999),  // rounds to the next midnight
      OleDate(-1.25),          OleDate(1e7),  // 29 December 1899; past the year 9999
      OleDate(1.0, OleDate::Status::kInvalid), OleDate(1.0, OleDate::Status::kNull)};
  for (const OleDate& date : kDates) {
    CRSSItem item;
    item.m_dtDate = date;
    char buffer[kChangeDateBufferSize];
    EXPECT_EQ(ChangeDateText(item, buffer), ChangeDateText(item)) << date.days();
  }
}
