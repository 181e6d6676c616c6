#include "app/upgrade_summary.h"

#include <cstdint>
#include <cstdio>

std::string BuiltText(const OleDate& built) { return built.Format("%A, %B %d, %Y"); }

std::string AgeText(const OleDate& built) {
  const int64_t days = OleDateAgeInDays(OleDate::Now(), built);
  char text[32];
  snprintf(text, sizeof text, "%u days ago", static_cast<unsigned>(static_cast<uint32_t>(days)));
  return text;
}
