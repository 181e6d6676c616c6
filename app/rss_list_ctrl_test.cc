#include "app/rss_list_ctrl.h"

#include <gtest/gtest.h>

namespace {

TEST(CopyTextCutTest, CutsToTheBufferOnAWholeCharacter) {
  struct Case {
    std::string text;
    size_t capacity;
    std::string expected;
  } const kCases[] = {
      {"Fix", 4, "Fix"},
      {"Fix", 3, "Fi"},
      {"Caf\xC3\xA9", 6, "Caf\xC3\xA9"},                // fits exactly
      {"Caf\xC3\xA9", 5, "Caf"},                        // é would be split
      {"\xE6\x9D\xB1\xE4\xBA\xAC", 6, "\xE6\x9D\xB1"},  // 東京: one of two fits
  };
  for (const Case& c : kCases) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    CopyTextCut(c.text, buffer, c.capacity);
    EXPECT_EQ(std::string(buffer), c.expected) << c.text << " in " << c.capacity;
    EXPECT_EQ(buffer[c.capacity], 'x') << "wrote past the buffer";
  }
}

}  // namespace
