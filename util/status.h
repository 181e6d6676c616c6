// Status: the result of an operation of the layers below the user interface
// (util, platform), in the manner of LevelDB's Status. A status is either ok or an
// error with a message for the log or the user, and a number: the system's own
// code where the operation has one (a Windows Installer code, a registry result),
// otherwise kStatusError. Callers test ok() and read what they need; nothing is
// thrown. A Status is a plain value, safe to copy between threads.
#pragma once

#include <string>
#include <utility>

// The number of an error that has no code of its own.
constexpr long kStatusError = -1;

class Status {
 public:
  // Success.
  Status() = default;
  static Status Ok() { return Status(); }
  // An error with `message` and `code`, which must not be 0.
  static Status Error(std::string message, long code = kStatusError) {
    return Status(code, std::move(message));
  }

  bool ok() const { return m_code == 0; }
  // 0 when ok.
  long code() const { return m_code; }
  // Empty when ok.
  const std::string& message() const { return m_message; }

 private:
  Status(long code, std::string message) : m_code(code), m_message(std::move(message)) {}

  long m_code = 0;
  std::string m_message;
};
