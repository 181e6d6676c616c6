#include "platform/transfer_limits.h"

#include <cstdlib>

namespace {

int FromEnvironment(const char* name, int fallback) {
  const char* text = getenv(name);
  if (text == nullptr) return fallback;
  char* end = nullptr;
  long value = strtol(text, &end, 10);
  return end != text && *end == '\0' && value > 0 && value <= 24L * 3600 * 1000
             ? static_cast<int>(value)
             : fallback;
}

}  // namespace

TransferLimits CurrentTransferLimits() {
  TransferLimits limits;
  limits.connect_ms = FromEnvironment("ZORMCONNECTTIMEOUTMS", limits.connect_ms);
  limits.stall_ms = FromEnvironment("ZORMSTALLTIMEOUTMS", limits.stall_ms);
  return limits;
}
