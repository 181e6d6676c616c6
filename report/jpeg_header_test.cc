#include "report/jpeg_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A frame header segment: marker, length, precision, height, width, components.
std::string Frame(uint8_t marker, unsigned height, unsigned width, uint8_t precision = 8,
                  uint8_t components = 3) {
  std::string s = {'\xFF', static_cast<char>(marker), 0, static_cast<char>(8 + 3 * components),
                   static_cast<char>(precision), static_cast<char>(height >> 8),
                   static_cast<char>(height & 0xFF), static_cast<char>(width >> 8),
                   static_cast<char>(width & 0xFF), static_cast<char>(components)};
  for (int i = 0; i < components; ++i) s += std::string{static_cast<char>(i + 1), 0x11, 0};
  return s;
}

TEST(JpegHeaderTest, FindsTheFrameBehindOtherSegments) {
  const std::string start("\xFF\xD8", 2);
  struct Case {
    const char* name;
    std::string data;
    unsigned width, height, components;  // 0: no JPEG
  } cases[] = {
      {"progressive", start + Frame(0xC2, 1, 65535), 65535, 1, 3},
      {"CMYK after fill bytes and a restart marker",
       start + std::string("\xFF\xFF\xFF\xD0", 4) + Frame(0xC0, 5, 6, 8, 4), 6, 5, 4},
      {"12-bit samples", start + Frame(0xC0, 39, 158, 12), 0, 0, 0},
      {"two components", start + Frame(0xC0, 39, 158, 8, 2), 0, 0, 0},
      {"lossless frame", start + Frame(0xC3, 39, 158), 0, 0, 0},
      {"scan before any frame", start + std::string("\xFF\xDA\x00\x02", 4) + Frame(0xC0, 1, 1),
       0, 0, 0},
  };
  for (const Case& c : cases) {
    JpegFrame frame{};
    const bool valid =
        ReadJpegFrame(reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size(), &frame);
    EXPECT_EQ(c.width != 0, valid) << c.name;
    if (!valid) continue;
    EXPECT_EQ(c.width, frame.width) << c.name;
    EXPECT_EQ(c.height, frame.height) << c.name;
    EXPECT_EQ(c.components, frame.components) << c.name;
  }
}

}  // namespace
