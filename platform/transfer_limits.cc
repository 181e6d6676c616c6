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

void TransferWatch::Connected(Clock::time_point now) {
  if (m_connected) return;
  m_connected = true;
  m_last_byte = now;
}

bool TransferWatch::Check(uint64_t received, Clock::time_point now) {
  if (m_broken || !m_connected || m_limits.stall_ms <= 0) return !m_broken;
  const auto period = std::chrono::milliseconds(m_limits.stall_ms);
  if (received != m_received) {
    if (!m_started) {
      m_started = true;
      m_window_start = now;
      m_window_bytes = m_total;
    }
    // A count that went down began again with the answer to a redirect.
    m_total += received > m_received ? received - m_received : received;
    m_received = received;
    m_last_byte = now;
  }
  if (now - m_last_byte > period) return !(m_broken = true);
  if (m_started && m_limits.min_bytes_per_second > 0 && now - m_window_start >= period) {
    const uint64_t needed =
        static_cast<uint64_t>(m_limits.min_bytes_per_second) * m_limits.stall_ms / 1000;
    if (m_total - m_window_bytes < needed) return !(m_broken = true);
    m_window_start = now;
    m_window_bytes = m_total;
  }
  return true;
}
