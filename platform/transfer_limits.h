// How long a transfer from a server may take to connect and may go without
// receiving anything, shared by the feed and the package download so that both
// give up alike, with the same words.
#pragma once

#include <chrono>
#include <cstdint>

struct TransferLimits {
  int connect_ms = 60000;  // to make the connection
  int stall_ms = 30000;    // without a byte arriving, once connected
  // Once the answer has begun, at least this many bytes a second on average
  // over each stall_ms. A server that trickles a byte now and then to hold
  // the program otherwise never trips the stall limit. The slowest links still
  // in use (GPRS, a crowded satellite hop) carry several kilobytes a second,
  // so half a kilobyte over half a minute only cuts off a server that is
  // playing for time. A cap on the whole transfer would instead cut off a
  // large answer over a slow but working link.
  int min_bytes_per_second = 512;
};

// The limits above, or those that ZORMCONNECTTIMEOUTMS and ZORMSTALLTIMEOUTMS
// (milliseconds, positive) set instead, for a slow link.
TransferLimits CurrentTransferLimits();

// What a transfer that hit one of the limits says.
inline constexpr char kTimedOutText[] = "The operation timed out";

// Tells, from the bytes received so far, when a transfer has broken the stall
// and speed limits. Connecting is not its business: the clock starts at
// Connected(). Not thread-safe; one per transfer.
class TransferWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // A stall_ms of 0 turns the watch off; a min_bytes_per_second of 0 turns
  // off the speed limit alone.
  explicit TransferWatch(const TransferLimits& limits) : m_limits(limits) {}

  // The connection is made: silence counts from `now`.
  void Connected(Clock::time_point now);
  // Takes the count of bytes received up to `now` (headers or body, as the
  // caller counts them; a count that drops starts over after a redirect). False once the transfer has
  // received nothing for stall_ms, or too little over a stall_ms since its
  // first byte; it stays false.
  bool Check(uint64_t received, Clock::time_point now);

 private:
  TransferLimits m_limits;
  bool m_connected = false;
  bool m_started = false;  // a first byte arrived
  bool m_broken = false;
  uint64_t m_received = 0;           // the caller's count
  uint64_t m_total = 0;              // all bytes, across restarts of that count
  Clock::time_point m_last_byte;
  Clock::time_point m_window_start;  // of the current speed period
  uint64_t m_window_bytes = 0;       // m_total when it began
};
