// The change-history feed reader: CRSS reads the items of an RSS 2.0 document
// into CRSSItem entries and classifies each as an enhancement or a fix. Reading
// trusts nothing in the document: whatever it holds, Read either appends entries
// or stops with an error, and never loses the entries it already appended.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "app/zorm_xml.h"
#include "platform/ole_date.h"

// One change-history entry.
struct CRSSItem {
  std::string m_strTitle;        // only its first character is used: "E" marks an enhancement
  std::string m_strDescription;  // shown in the list
  OleDate m_dtDate;              // the item's pubDate, as the server's wall clock
  int64_t m_nType = 0;           // 1 enhancement, 0 fix; set by Classify
};

class CRSS : public CZORMXML {
 public:
  explicit CRSS(OnCreationFailure on_failure = OnCreationFailure::kTell) : CZORMXML(on_failure) {}
  ~CRSS() override;

  // Appends the items of the RSS document in `text` to m_items, in document
  // order. A text that is not well-formed, or has no rss/channel, appends
  // nothing. Throws std::invalid_argument when an item's pubDate is too short to
  // hold a date (missing, no comma, or fewer than four characters after it); the
  // items before that one stay in m_items.
  void Read(std::string text);

  // Marks every entry whose title starts with an upper-case "E" as an
  // enhancement; all others stay fixes.
  void Classify();

  std::vector<CRSSItem> m_items;  // in document order; not changed once rows point into it
  std::vector<CRSSItem*> m_rows;  // row i of the list shows *m_rows[i]

 private:
  // From this many entries on, Read reads the two halves on two threads.
  static constexpr size_t kItemsReadInHalves = 8192;

  // Reads items[begin, end) into into[begin, end); returns `end`, or the index of
  // the entry whose date could not be read, with its error in `*error`.
  size_t ReadItems(const std::vector<Node>& items, size_t begin, size_t end, DateOrder order,
                   CRSSItem* into, std::exception_ptr* error) const;
};

// The date part of an RSS pubDate: the second comma-separated piece (commas in
// a row count as one, leading ones are skipped) without its last four
// characters, so "Mon, 05 Jul 2021 12:00:00 GMT" gives " 05 Jul 2021 12:00:00".
// Throws std::invalid_argument when that piece is shorter than four characters.
std::string ReducePubDate(const std::string& pub_date);
// The same as a view into `pub_date`: reading a feed reduces one date per entry.
std::string_view ReducedPubDate(std::string_view pub_date);
