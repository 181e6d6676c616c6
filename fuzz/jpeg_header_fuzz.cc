// The JPEG frame header reader that checks a PDF logo before it is loaded.
#include <cstdint>

#include "report/jpeg_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JpegFrame frame;
  ReadJpegFrame(data, size, &frame);
  return 0;
}
