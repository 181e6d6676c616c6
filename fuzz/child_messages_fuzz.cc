// Messages from the package reader process: any bytes must decode without a
// crash, and each message decoded must encode back to the bytes it came from.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/child_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ChildMessageDecoder decoder;
  // Feed in two parts, as a pipe might deliver them.
  size_t half = size / 2;
  decoder.Append(bytes.data(), half);
  std::string consumed;
  ChildMessage message;
  while (decoder.Next(&message)) consumed += EncodeChildMessage(message);
  decoder.Append(bytes.data() + half, size - half);
  while (decoder.Next(&message)) consumed += EncodeChildMessage(message);
  if (bytes.compare(0, consumed.size(), consumed) != 0) abort();
  return 0;
}
