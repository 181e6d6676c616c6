// The feed reader on arbitrary response bodies: Read either appends entries or
// raises its invalid-argument error; Classify then runs over whatever was read.
// The reader keeps element text in the elements; a document loaded that way must
// read the same as one that keeps text in nodes.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/rss.h"
#include "platform/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  CRSS rss;
  try {
    rss.Read(body);
  } catch (const std::invalid_argument&) {
  }
  rss.Classify();
  for (const CRSSItem& item : rss.m_items)
    if (item.m_nType != 0 && item.m_nType != 1) __builtin_trap();

  XmlDocument nodes, in_elements;
  XmlResult loaded = nodes.Load(body);
  if (in_elements.Load(body, XmlTextStorage::kInElements) != loaded) __builtin_trap();
  if (nodes.Text(nodes.Root()) != in_elements.Text(in_elements.Root())) __builtin_trap();
  return 0;
}
