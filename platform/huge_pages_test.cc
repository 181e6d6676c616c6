#include "platform/huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Taken {
  unsigned char* data;
  size_t size;
  unsigned char mark;
};

void Fill(const Taken& taken) { memset(taken.data, taken.mark, taken.size); }

bool Intact(const Taken& taken) {
  for (size_t i = 0; i < taken.size; ++i)
    if (taken.data[i] != taken.mark) return false;
  return true;
}

// Allocations of every path (cut from a block, past a block's end, too large for
// one) keep their bytes while others come and go, and come aligned for any type;
// blocks emptied and cut again must not hand out what is still in use.
TEST(HugePagesTest, AllocationsStayApartAlignedAndIntactWhileOthersAreFreed) {
  const size_t kSizes[] = {1, 24, 4096, 33000, 600000, 3 << 20};
  std::vector<Taken> taken;
  unsigned char mark = 1;
  for (int round = 0; round < 40; ++round) {
    for (size_t size : kSizes) {
      auto* data = static_cast<unsigned char*>(AllocateFromHugePages(size));
      ASSERT_NE(data, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % alignof(std::max_align_t), 0u) << size;
      taken.push_back({data, size, mark++});
      Fill(taken.back());
    }
    // Every other allocation goes, oldest first, so blocks empty while later ones fill.
    for (size_t i = round % 2; i < taken.size(); i += 2) {
      ASSERT_TRUE(Intact(taken[i])) << "size " << taken[i].size << " round " << round;
      FreeToHugePages(taken[i].data);
      taken[i].data = nullptr;
    }
    std::erase_if(taken, [](const Taken& t) { return t.data == nullptr; });
  }
  for (const Taken& t : taken) {
    EXPECT_TRUE(Intact(t)) << t.size;
    FreeToHugePages(t.data);
  }
  FreeToHugePages(nullptr);
}

}  // namespace
