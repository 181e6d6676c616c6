// Messages from the package reader process: any bytes must decode without a
// crash, each message decoded must encode back to the bytes it came from, and a
// message the installer accepts must encode back to itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/child_messages.h"
#include "platform/package_reader_message.h"

namespace {

void CheckReaderMessage(const ChildMessage& message) {
  PackageReaderMessage decoded;
  if (!DecodePackageReaderMessage(message, &decoded)) return;
  const ChildMessage again = EncodePackageReaderMessage(decoded);
  if (again.type != message.type || again.fields != message.fields) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ChildMessageDecoder decoder;
  // Feed in two parts, as a pipe might deliver them.
  size_t half = size / 2;
  std::string consumed;
  ChildMessage message;
  for (size_t start : {size_t{0}, half}) {
    decoder.Append(bytes.data() + start, start == 0 ? half : size - half);
    while (decoder.Next(&message)) {
      consumed += EncodeChildMessage(message);
      CheckReaderMessage(message);
    }
  }
  if (bytes.compare(0, consumed.size(), consumed) != 0) abort();
  return 0;
}
