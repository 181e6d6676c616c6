#include "app/rss.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <thread>

#include "platform/huge_pages.h"

CRSS::~CRSS() {
  // The rows point into the items; both go before the document does.
  m_rows.clear();
  m_items.clear();
}

std::string_view ReducedPubDate(std::string_view pub_date) {
  auto skip_commas = [&](size_t pos) {
    while (pos < pub_date.size() && pub_date[pos] == ',') ++pos;
    return pos;
  };
  size_t first = skip_commas(0);
  size_t first_end = std::min(pub_date.find(',', first), pub_date.size());
  size_t second = skip_commas(first_end);
  size_t second_end = std::min(pub_date.find(',', second), pub_date.size());
  std::string_view piece = pub_date.substr(second, second_end - second);
  if (piece.size() < 4)
    throw std::invalid_argument("Invalid argument: the change-history entry's date \"" +
                                std::string(pub_date) + "\" holds no date.");
  return piece.substr(0, piece.size() - 4);
}

std::string ReducePubDate(const std::string& pub_date) {
  return std::string(ReducedPubDate(pub_date));
}

void CRSS::Read(std::string text) {
  if (!m_pDoc) return;  // no document: nothing can be read
  // The reader only selects by name, lists the channel's children for their
  // names and reads texts: it can leave each element's text in the element and
  // spare a node per title, description and date.
  if (LoadXML(std::move(text), XmlTextStorage::kInElements) == XmlResult::kFailure) return;
  Node rss = m_pDoc->SelectSingle(m_pDoc->Root(), "rss");
  if (rss.IsNull()) return;
  Node channel = m_pDoc->SelectSingle(rss, "channel");
  if (channel.IsNull()) return;

  std::vector<Node> items;
  for (Node child : m_pDoc->Children(channel))
    if (GetNodeName(child) == "item") items.push_back(child);
  const size_t before = m_items.size();
  // Advised before the entries are made: the advice only helps pages not yet touched.
  m_items.reserve(before + items.size());
  AdviseHugePages(m_items.data(), m_items.capacity() * sizeof(CRSSItem));
  m_items.resize(before + items.size());
  CRSSItem* const into = m_items.data() + before;

  // Looking up the user's date order loads locale data; once per document will do.
  const DateOrder order = UserDateOrder();
  // A long history is read in two halves at once: its texts and dates are most
  // of its reading time. An error ends the entries at the first bad one either way.
  size_t half = items.size() >= kItemsReadInHalves ? items.size() / 2 : items.size();
  size_t second_end = items.size();
  std::exception_ptr second_error;
  std::thread second;
  if (half < items.size()) {
    second = std::thread([&] {
      AdviseHugePagesForThreadHeap();
      second_end = ReadItems(items, half, items.size(), order, into, &second_error);
    });
  }
  std::exception_ptr first_error;
  const size_t first_end = ReadItems(items, 0, half, order, into, &first_error);
  if (second.joinable()) second.join();
  const size_t read = first_error ? first_end : second_end;
  m_items.resize(before + read);
  if (first_error) std::rethrow_exception(first_error);
  if (second_error) std::rethrow_exception(second_error);
}

size_t CRSS::ReadItems(const std::vector<Node>& items, size_t begin, size_t end, DateOrder order,
                       CRSSItem* into, std::exception_ptr* error) const {
  std::string pub_date;  // one buffer for all entries: the date is only read
  for (size_t i = begin; i < end; ++i) {
    CRSSItem& item = into[i];
    try {
      GetChildText(items[i], "title", &item.m_strTitle);
      GetChildText(items[i], "description", &item.m_strDescription);
      GetChildText(items[i], "pubDate", &pub_date);
      // The day name and the zone are cut off: the date stays the server's wall clock.
      ParseOleDate(ReducedPubDate(pub_date), order, &item.m_dtDate);
    } catch (...) {
      *error = std::current_exception();
      return i;
    }
  }
  return end;
}

void CRSS::Classify() {
  for (CRSSItem& item : m_items)
    if (!item.m_strTitle.empty() && item.m_strTitle[0] == 'E') item.m_nType = 1;
}
