// How long a transfer from a server may take to connect and may go without
// receiving anything, shared by the feed and the package download so that both
// give up alike, with the same words.
#pragma once

struct TransferLimits {
  int connect_ms = 60000;  // to make the connection
  int stall_ms = 30000;    // without a byte arriving, once connected
};

// The limits above, or those that ZORMCONNECTTIMEOUTMS and ZORMSTALLTIMEOUTMS
// (milliseconds, positive) set instead, for a slow link.
TransferLimits CurrentTransferLimits();

// What a transfer that hit one of the limits says.
inline constexpr char kTimedOutText[] = "The operation timed out";
