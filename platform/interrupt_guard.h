// Lets work that leaves files behind when cut short (an installation's staging
// folder, a half-downloaded package) finish tidily on SIGINT or SIGTERM: while a
// guard lives, these signals only mark the process as interrupted, the work
// polls Interrupted() and unwinds, and when the last guard goes the signal's
// earlier handling is restored and the signal raised again, so the process
// still ends the way its sender asked.
#pragma once

class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  // True once SIGINT or SIGTERM arrived under a guard.
  static bool Interrupted();
};
