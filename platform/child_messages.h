// Messages that a child process sends its parent through a pipe: a type letter
// and a list of byte-string fields, framed so that any bytes can pass.
#pragma once

#include <string>
#include <vector>

struct ChildMessage {
  char type = 0;
  std::vector<std::string> fields;
};

// The bytes of `message` on the pipe: the type, the field count, then each field
// as its length and its bytes ("S1:12:/tmp/staging").
std::string EncodeChildMessage(const ChildMessage& message);

// Collects bytes as they arrive and hands out whole messages in order.
class ChildMessageDecoder {
 public:
  void Append(const char* data, size_t size) { m_buffer.append(data, size); }
  // Takes the next whole message into `message`; false when none is complete
  // yet or the bytes are not messages (then broken() is true).
  bool Next(ChildMessage* message);
  bool broken() const { return m_broken; }
  // True when bytes of an unfinished message are waiting.
  bool pending() const { return !m_buffer.empty(); }

 private:
  std::string m_buffer;
  bool m_broken = false;
};
