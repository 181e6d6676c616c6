// The frame header of a JPEG file: enough to tell whether the PDF library can
// place the file as an image before it is handed over (the library accepts some
// files that are not JPEG at all and embeds them as broken images).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct JpegFrame {
  unsigned width = 0;
  unsigned height = 0;
  unsigned components = 0;  // 1 grey, 3 colour, 4 CMYK
};

// Reads the markers of `data` up to the first baseline, extended or progressive
// frame header (SOF0 to SOF2). True when the data begins with a JPEG start marker
// and the frame has 8-bit samples, a width and height above 0 and 1, 3 or 4
// components; false for anything else, also for data cut short.
bool ReadJpegFrame(const uint8_t* data, size_t size, JpegFrame* frame);

// The same for the beginning of a file (at most its first 4 MB); false when the
// file cannot be read.
bool ReadJpegFrameOfFile(const std::string& path, JpegFrame* frame);
