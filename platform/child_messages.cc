#include "platform/child_messages.h"

namespace {

const size_t kMaxNumberDigits = 12;  // no field or count this program sends is longer

// Reads a decimal number (as EncodeChildMessage writes it) ending in ":" at `*at`. Returns 1 when
// read, 0 when the buffer ends first, -1 when the bytes are not a number.
int ReadNumber(const std::string& buffer, size_t* at, size_t* number) {
  size_t value = 0, digits = 0;
  for (size_t i = *at; i < buffer.size(); ++i) {
    char c = buffer[i];
    if (c == ':') {
      if (digits == 0) return -1;
      *number = value;
      *at = i + 1;
      return 1;
    }
    if (c < '0' || c > '9' || ++digits > kMaxNumberDigits) return -1;
    if (digits == 2 && value == 0) return -1;  // only the sender's own form: no leading zeros
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  return 0;
}

}  // namespace

std::string EncodeChildMessage(const ChildMessage& message) {
  std::string bytes(1, message.type);
  bytes += std::to_string(message.fields.size()) + ":";
  for (const std::string& field : message.fields)
    bytes += std::to_string(field.size()) + ":" + field;
  return bytes;
}

bool ChildMessageDecoder::Next(ChildMessage* message) {
  if (m_broken || m_buffer.empty()) return false;
  size_t at = 1, count = 0;
  int read = ReadNumber(m_buffer, &at, &count);
  ChildMessage decoded;
  decoded.type = m_buffer[0];
  for (size_t i = 0; read == 1 && i < count; ++i) {
    size_t length = 0;
    read = ReadNumber(m_buffer, &at, &length);
    if (read != 1) break;
    if (m_buffer.size() - at < length) {
      read = 0;
      break;
    }
    decoded.fields.push_back(m_buffer.substr(at, length));
    at += length;
  }
  if (read < 0) m_broken = true;
  if (read != 1) return false;
  m_buffer.erase(0, at);
  *message = std::move(decoded);
  return true;
}
