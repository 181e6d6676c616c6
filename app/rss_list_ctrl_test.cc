#include "app/rss_list_ctrl.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(CopyTextCutTest, CutsToTheBufferOnAWholeCharacter) {
  struct Case {
    std::string text;
    size_t capacity;
    std::string expected;
  } const kCases[] = {
      {"Fix", 4, "Fix"},
      {"Fix", 3, "Fi"},
      {"Fix", 1, ""},
      {"Caf\xC3\xA9", 6, "Caf\xC3\xA9"},                // fits exactly
      {"Caf\xC3\xA9", 5, "Caf"},                        // é would be split
      {"\xE6\x9D\xB1\xE4\xBA\xAC", 6, "\xE6\x9D\xB1"},  // 東京: one of two fits
      {"\xE6\x9D\xB1", 3, ""},
      {"text", 0, "x"},  // no room even for the terminator: nothing written
  };
  for (const Case& c : kCases) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    CopyTextCut(c.text, buffer, c.capacity);
    EXPECT_EQ(std::string(buffer, c.expected.size() + (c.capacity > 0)),
              c.expected + (c.capacity > 0 ? std::string(1, '\0') : ""))
        << c.text << " in " << c.capacity;
    EXPECT_EQ(buffer[c.capacity], 'x') << "wrote past the buffer";
  }
}

TEST(CRSSListCtrlTest, AnswersEachCellAndRefusesRowsItDoesNotHave) {
  CRSSListCtrl list;
  list.m_rss.m_items = {{"E1", "Faster", OleDate(44383.75), 1},
                        {"F2", "Mended", OleDate(0.0, OleDate::Status::kInvalid), 0}};
  for (CRSSItem& item : list.m_rss.m_items) list.m_rss.m_rows.push_back(&item);
  struct Case {
    long row, column;
    const char* text;  // null: no such row
    int image;
  } const kCases[] = {
      {0, 0, "Enhancement", 1}, {0, 1, "2021-07-06", 1},       {0, 2, "Faster", 1}, {0, 3, "", 1},
      {1, 0, "Fix", 0},         {1, 1, "Invalid DateTime", 0}, {1, 2, "Mended", 0}, {-1, 0},
      {2, 0},
  };
  for (const Case& c : kCases) {
    char buffer[CRSSListCtrl::kTextBufferSize] = "stale";
    CRSSDispInfo info;
    info.mask = CRSSDispInfo::kText | CRSSDispInfo::kImage;
    info.item = c.row;
    info.subItem = c.column;
    info.pszText = buffer;
    info.cchTextMax = sizeof buffer;
    if (!c.text) {
      EXPECT_THROW(list.OnGetDispInfo(info), std::invalid_argument) << c.row;
      continue;
    }
    list.OnGetDispInfo(info);
    EXPECT_STREQ(buffer, c.text) << c.row << "," << c.column;
    EXPECT_EQ(info.iImage, c.image) << c.row << "," << c.column;
  }
}

}  // namespace
