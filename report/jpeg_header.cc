#include "report/jpeg_header.h"

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kFileLimit = 4 << 20;  // headers with large metadata still fit

unsigned Read16(const uint8_t* p) { return (unsigned{p[0]} << 8) | p[1]; }

}  // namespace

bool ReadJpegFrame(const uint8_t* data, size_t size, JpegFrame* frame) {
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return false;
  size_t pos = 2;
  while (pos < size) {
    if (data[pos] != 0xFF) return false;
    while (pos < size && data[pos] == 0xFF) ++pos;  // fill bytes
    if (pos >= size) return false;
    const uint8_t marker = data[pos++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD9 || marker == 0xDA) return false;  // image end or data before a frame
    if (size - pos < 2) return false;
    const unsigned length = Read16(data + pos);
    if (length < 2 || size - pos < length) return false;
    if (marker >= 0xC0 && marker <= 0xC2) {
      if (length < 8) return false;
      const uint8_t* header = data + pos + 2;
      frame->height = Read16(header + 1);
      frame->width = Read16(header + 3);
      frame->components = header[5];
      return header[0] == 8 && frame->width > 0 && frame->height > 0 &&
             (frame->components == 1 || frame->components == 3 || frame->components == 4);
    }
    pos += length;
  }
  return false;
}

bool ReadJpegFrameOfFile(const std::string& path, JpegFrame* frame) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> data(kFileLimit);
  const size_t size = fread(data.data(), 1, data.size(), file);
  fclose(file);
  return ReadJpegFrame(data.data(), size, frame);
}
