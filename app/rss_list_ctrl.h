// CRSSListCtrl: the upgrade dialog's change-history list. A virtual list over its
// own feed reader: the rows are the entries m_rss.m_rows points to, in document
// order (no sorting), and every cell is answered from the entry when the list
// asks for it.
#pragma once

#include <cstddef>

#include "app/rss.h"
#include "listctrl/zorm_list_ctrl.h"

// One request of the list for a cell, the way the list view asks: which parts
// (mask), of which row and column, with the buffer the text goes into.
struct CRSSDispInfo {
  enum : unsigned { kText = 1, kImage = 2 };
  unsigned mask = 0;
  long item = 0;            // the row
  long subItem = 0;         // the column
  char* pszText = nullptr;  // receives the text, always terminated
  size_t cchTextMax = 0;    // the buffer's size in bytes, terminator included
  int iImage = -1;          // receives the image index
};

class CRSSListCtrl : public CZORMListCtrl {
 public:
  // The size of the buffer a cell's text is cut to, terminator included: a
  // longer description shows its first 259 bytes, ending on a whole character.
  static constexpr size_t kTextBufferSize = 260;

  CRSSListCtrl() = default;
  ~CRSSListCtrl() override;

  // Fills `info` for its row: text column 0 "Enhancement" or "Fix", column 1 the
  // date as "%Y-%m-%d" ("Invalid DateTime" when it did not parse), column 2 the
  // description, other columns empty; image 1 for an enhancement, 0 for a fix.
  // Throws std::invalid_argument when the row lies outside m_rss.m_rows.
  void OnGetDispInfo(CRSSDispInfo& info) const;

  CRSS m_rss;  // the feed reader; its rows are the list's rows

 protected:
  wxString GetCellText(long item, long column) const override;
  std::string_view GetCellTextUtf8(long item, long column, std::string* buffer) const override;
  int OnGetItemImage(long item) const override;
};

// Copies `text` into `buffer` of `capacity` bytes (terminator included), cut to
// fit at a UTF-8 character boundary. Nothing is written when capacity is 0.
void CopyTextCut(const std::string& text, char* buffer, size_t capacity);
