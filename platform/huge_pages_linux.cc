#include "platform/huge_pages.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <mutex>

namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
constexpr uintptr_t kSmallPage = 4096;

// Each allocation is preceded by this prefix, which says where it came from.
struct alignas(std::max_align_t) Prefix {
  bool from_block;
};
constexpr size_t kPrefix = sizeof(Prefix);

// A 2 MB-aligned block; allocations are cut from it in order. It is unmapped when
// its last allocation is freed, unless it is the block still being cut.
struct Block {
  size_t used;  // bytes cut, this header included
  size_t live;  // allocations not yet freed
};
constexpr size_t kBlockHeader = (sizeof(Block) + kPrefix - 1) / kPrefix * kPrefix;
// Larger requests get their own memory: a block would hold one each anyway.
constexpr size_t kLargestFromBlock = kHugePage / 4;

std::mutex g_mutex;
Block* g_current = nullptr;

Block* MapBlock() {
  // Twice the size, then the unaligned ends cut off: mmap itself aligns to 4 KB.
  void* mapped = mmap(nullptr, 2 * kHugePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  if (const uintptr_t tail = start + 2 * kHugePage - (aligned + kHugePage))
    munmap(reinterpret_cast<void*>(aligned + kHugePage), tail);
  madvise(reinterpret_cast<void*>(aligned), kHugePage, MADV_HUGEPAGE);
  auto* block = reinterpret_cast<Block*>(aligned);
  block->used = kBlockHeader;
  block->live = 0;
  return block;
}

Block* BlockOf(void* allocation) {
  return reinterpret_cast<Block*>(reinterpret_cast<uintptr_t>(allocation) & ~(kHugePage - 1));
}

}  // namespace

void AdviseHugePages(void* data, size_t size) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(data);
  const uintptr_t begin = (start + kSmallPage - 1) & ~(kSmallPage - 1);
  const uintptr_t end = (start + size) & ~(kSmallPage - 1);
  if (end > begin && end - begin >= kHugePage)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

namespace {

// A heap is given this much room whenever it is made or grows: the advice covers
// only what is mapped when it is given, and a heap grown page by page as it is
// filled never holds a whole huge page when it is touched. Room costs address
// space, not memory, until it is touched.
constexpr int kHeapRoom = 64 << 20;
// Blocks up to this size (glibc's largest) come from the advised heaps instead
// of a mapping of their own, which is neither advised nor aligned to 2 MB.
constexpr int kLargestFromHeap = 32 << 20;

// Advises the mapping that holds `inside`, and the reserve right after it: a
// thread's heap is one mapping, read-write as far as it has grown and
// inaccessible beyond. The advice stays with the pages as the heap grows into
// the reserve. Returns where the mapping starts, 0 when it is not found.
uintptr_t AdviseMappingHolding(const void* inside) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(inside);
  FILE* maps = fopen("/proc/self/maps", "re");
  if (maps == nullptr) return 0;
  uintptr_t begin = 0, end = 0;
  char line[512];
  while (fgets(line, sizeof line, maps) != nullptr) {
    uintptr_t from, to;
    char modes[5];
    if (sscanf(line, "%" SCNxPTR "-%" SCNxPTR " %4s", &from, &to, modes) != 3) continue;
    if (end == 0 && from <= at && at < to) {
      begin = from;
      end = to;
    } else if (end != 0) {
      if (from == end && strcmp(modes, "---p") == 0) end = to;  // the reserve
      break;
    }
  }
  fclose(maps);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  return begin;
}

// Holds what a thread's heap keeps unused, and gives it back when the thread ends.
struct HeldBlock {
  void* data = nullptr;
  ~HeldBlock() { free(data); }
};
thread_local HeldBlock t_skipped_start;

}  // namespace

void AdviseHugePagesForThreadHeap() {
  mallopt(M_TOP_PAD, kHeapRoom);  // before the thread's first allocation makes its heap
  void* probe = malloc(1);
  const uintptr_t at = reinterpret_cast<uintptr_t>(probe);
  const uintptr_t heap = AdviseMappingHolding(probe);
  // A heap starts with its own bookkeeping, touched before the advice, which puts
  // the heap's first 2 MB on small pages for good. When the thread's allocations
  // would come from there, the rest of that stretch is taken, untouched, while
  // the thread lives, so that its data goes on huge pages.
  constexpr uintptr_t kWorthSkipping = 64 << 10;
  // Left for malloc's chunk headers, so that the held block ends short of the
  // huge page and the next chunk starts near its beginning.
  constexpr uintptr_t kChunkHeaderRoom = 64;
  const uintptr_t first_whole_huge_page = (heap + kHugePage) & ~(kHugePage - 1);
  if (heap != 0 && at + kWorthSkipping < first_whole_huge_page && t_skipped_start.data == nullptr)
    t_skipped_start.data = malloc(first_whole_huge_page - at - kChunkHeaderRoom);
  free(probe);
}

void AdviseHugePagesForProcessHeap() {
  mallopt(M_MMAP_THRESHOLD, kLargestFromHeap);
  mallopt(M_TRIM_THRESHOLD, 2 * kHeapRoom);  // the room stays
  mallopt(M_TOP_PAD, kHeapRoom);
  // More than the main heap has spare at start, so it gets its room now.
  void* growth = malloc(1 << 20);
  AdviseMappingHolding(growth);
  free(growth);
}

void* AllocateFromHugePages(size_t size) {
  const size_t needed = (size + kPrefix + kPrefix - 1) / kPrefix * kPrefix;
  Prefix* prefix = nullptr;
  if (needed > kLargestFromBlock) {
    prefix = static_cast<Prefix*>(malloc(needed));
    if (prefix == nullptr) return nullptr;
    prefix->from_block = false;
    return prefix + 1;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_current == nullptr || g_current->used + needed > kHugePage) {
    if (g_current != nullptr && g_current->live == 0) {
      g_current->used = kBlockHeader;  // empty: cut it again from the start
    } else {
      Block* block = MapBlock();
      if (block == nullptr) return nullptr;
      g_current = block;  // the old block goes when its last allocation does
    }
  }
  prefix = reinterpret_cast<Prefix*>(reinterpret_cast<char*>(g_current) + g_current->used);
  g_current->used += needed;
  ++g_current->live;
  prefix->from_block = true;
  return prefix + 1;
}

void FreeToHugePages(void* data) {
  if (data == nullptr) return;
  Prefix* prefix = static_cast<Prefix*>(data) - 1;
  if (!prefix->from_block) {
    free(prefix);
    return;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  Block* block = BlockOf(prefix);
  if (--block->live > 0) return;
  if (block == g_current)
    block->used = kBlockHeader;
  else
    munmap(block, kHugePage);
}
