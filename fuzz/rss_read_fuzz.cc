// The feed reader on arbitrary response bodies: Read either appends entries or
// raises its invalid-argument error; Classify then runs over whatever was read.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/rss.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CRSS rss;
  try {
    rss.Read(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const std::invalid_argument&) {
  }
  rss.Classify();
  for (const CRSSItem& item : rss.m_items)
    if (item.m_nType != 0 && item.m_nType != 1) __builtin_trap();
  return 0;
}
