#include "report/jpeg_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A frame header segment: marker, length 17, precision, height, width, 3 components.
std::string Frame(uint8_t marker, unsigned height, unsigned width, uint8_t precision = 8,
                  uint8_t components = 3) {
  std::string s = {'\xFF',
                   static_cast<char>(marker),
                   0,
                   static_cast<char>(8 + 3 * components),
                   static_cast<char>(precision),
                   static_cast<char>(height >> 8),
                   static_cast<char>(height & 0xFF),
                   static_cast<char>(width >> 8),
                   static_cast<char>(width & 0xFF),
                   static_cast<char>(components)};
  for (int i = 0; i < components; ++i) s += std::string{static_cast<char>(i + 1), 0x11, 0};
  return s;
}

const std::string kStart("\xFF\xD8", 2);
const std::string kApp0("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);

TEST(JpegHeaderTest, FindsTheFrameBehindOtherSegments) {
  struct Case {
    const char* name;
    std::string data;
    bool valid;
    unsigned width, height, components;
  } cases[] = {
      {"baseline after APP0", kStart + kApp0 + Frame(0xC0, 39, 158), true, 158, 39, 3},
      {"progressive", kStart + Frame(0xC2, 1, 65535), true, 65535, 1, 3},
      {"extended grey", kStart + Frame(0xC1, 10, 20, 8, 1), true, 20, 10, 1},
      {"CMYK after fill bytes and a restart marker",
       kStart + std::string("\xFF\xFF\xFF\xD0", 4) + Frame(0xC0, 5, 6, 8, 4), true, 6, 5, 4},
      {"no start marker", kApp0 + Frame(0xC0, 39, 158), false, 0, 0, 0},
      {"PNG", std::string("\x89PNG\r\n\x1a\n", 8), false, 0, 0, 0},
      {"empty", "", false, 0, 0, 0},
      {"start only", kStart, false, 0, 0, 0},
      {"cut inside the frame", (kStart + Frame(0xC0, 39, 158)).substr(0, 9), false, 0, 0, 0},
      {"segment length beyond the end", kStart + std::string("\xFF\xE1\x7F\xFF", 4), false, 0, 0,
       0},
      {"segment length below 2", kStart + std::string("\xFF\xE1\x00\x01", 4), false, 0, 0, 0},
      {"12-bit samples", kStart + Frame(0xC0, 39, 158, 12), false, 0, 0, 0},
      {"zero width", kStart + Frame(0xC0, 39, 0), false, 0, 0, 0},
      {"zero height", kStart + Frame(0xC0, 0, 158), false, 0, 0, 0},
      {"two components", kStart + Frame(0xC0, 39, 158, 8, 2), false, 0, 0, 0},
      {"lossless frame", kStart + Frame(0xC3, 39, 158), false, 0, 0, 0},
      {"scan before any frame", kStart + std::string("\xFF\xDA\x00\x02", 4) + Frame(0xC0, 1, 1),
       false, 0, 0, 0},
      {"image end before any frame", kStart + std::string("\xFF\xD9", 2) + Frame(0xC0, 1, 1), false,
       0, 0, 0},
      {"garbage between segments", kStart + "x" + Frame(0xC0, 1, 1), false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    JpegFrame frame;
    const bool valid =
        ReadJpegFrame(reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size(), &frame);
    EXPECT_EQ(c.valid, valid) << c.name;
    if (!c.valid || !valid) continue;
    EXPECT_EQ(c.width, frame.width) << c.name;
    EXPECT_EQ(c.height, frame.height) << c.name;
    EXPECT_EQ(c.components, frame.components) << c.name;
  }
}

TEST(JpegHeaderTest, MissingFileIsNoJpeg) {
  JpegFrame frame;
  EXPECT_FALSE(ReadJpegFrameOfFile("/nonexistent/logo.jpg", &frame));
}

}  // namespace
