#include "platform/huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
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

struct Placement {
  bool advised = false;     // "hg" among the flags of the mapping holding it
  uintptr_t offset = 0;     // from the start of that mapping
};

Placement PlacementOf(const void* data) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(data);
  std::ifstream smaps("/proc/self/smaps");
  Placement placement;
  bool holding = false;
  for (std::string line; std::getline(smaps, line);) {
    uintptr_t from, to;
    if (sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2 && line.find(' ') > line.find('-')) {
      holding = from <= at && at < to;
      if (holding) placement.offset = at - from;
    } else if (holding && line.rfind("VmFlags:", 0) == 0) {
      placement.advised = line.find(" hg") != std::string::npos;
      return placement;
    }
  }
  return placement;
}

// Once the process heap is prepared, a large block comes from an advised heap
// rather than a mapping of its own: on the main thread at once, on another
// thread once it has advised its own heap. There even small blocks come from
// past the heap's first 2 MB, which its bookkeeping keeps on small pages.
TEST(HugePagesTest, LargeBlocksComeFromAdvisedHeapsAndSmallOnesFromPastTheirStart) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator keeps its own mappings";
#endif
  AdviseHugePagesForProcessHeap();
  constexpr size_t kLarge = 4 << 20;
  void* on_main = malloc(kLarge);
  EXPECT_TRUE(PlacementOf(on_main).advised);
  free(on_main);
  Placement large, small;
  std::thread([&] {
    AdviseHugePagesForThreadHeap();
    void* block = malloc(kLarge);
    large = PlacementOf(block);
    free(block);
    block = malloc(100);
    small = PlacementOf(block);
    free(block);
  }).join();
  EXPECT_TRUE(large.advised);
  EXPECT_TRUE(small.advised);
  EXPECT_GE(small.offset, uintptr_t{2} << 20);
}

}  // namespace
