#include "tools/zormlist/row_move.h"

std::vector<size_t> MoveRowsBefore(const std::vector<size_t>& shown, const std::vector<long>& moved,
                                   long before, long* first) {
  std::vector<size_t> ahead, block, behind;
  auto next = moved.begin();
  for (long position = 0; position < long(shown.size()); ++position) {
    if (next != moved.end() && *next == position) {
      block.push_back(shown[position]);
      ++next;
    } else {
      (position < before ? ahead : behind).push_back(shown[position]);
    }
  }
  *first = long(ahead.size());
  ahead.insert(ahead.end(), block.begin(), block.end());
  ahead.insert(ahead.end(), behind.begin(), behind.end());
  return ahead;
}
