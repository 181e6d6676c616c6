#include "app/rss.h"

#include <algorithm>
#include <stdexcept>

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

  const std::vector<Node> children = m_pDoc->Children(channel);
  size_t items = 0;
  for (Node child : children) items += GetNodeName(child) == "item";
  m_items.reserve(m_items.size() + items);
  AdviseHugePages(m_items.data(), m_items.capacity() * sizeof(CRSSItem));

  std::string pub_date;  // one buffer for all entries: the date is only read
  // Looking up the user's date order loads locale data; once per document will do.
  const DateOrder order = UserDateOrder();
  for (Node child : children) {
    if (GetNodeName(child) != "item") continue;
    CRSSItem item;
    GetChildText(child, "title", &item.m_strTitle);
    GetChildText(child, "description", &item.m_strDescription);
    GetChildText(child, "pubDate", &pub_date);
    // The day name and the zone are cut off: the date stays the server's wall clock.
    ParseOleDate(ReducedPubDate(pub_date), order, &item.m_dtDate);
    m_items.push_back(std::move(item));
  }
}

void CRSS::Classify() {
  for (CRSSItem& item : m_items)
    if (!item.m_strTitle.empty() && item.m_strTitle[0] == 'E') item.m_nType = 1;
}
