#include "listctrl/column_order.h"

#include <cstdlib>

std::vector<int> MoveInOrder(std::vector<int> order, int from, int to) {
  const int count = int(order.size());
  if (from < 0 || from >= count || to < 0 || to >= count) return order;
  const int column = order[size_t(from)];
  order.erase(order.begin() + from);
  order.insert(order.begin() + to, column);
  return order;
}

int PositionInOrder(const std::vector<int>& order, int column) {
  for (size_t position = 0; position < order.size(); ++position)
    if (order[position] == column) return int(position);
  return -1;
}

int PressedPosition(const std::vector<int>& widths, int x, int border) {
  int right = 0;
  for (size_t position = 0; position < widths.size(); ++position) {
    right += widths[position];
    if (std::abs(x - right) < border) return -1;
    if (x < right) return x < 0 ? -1 : int(position);
  }
  return -1;
}

int DropPosition(const std::vector<int>& widths, int x) {
  if (widths.empty()) return -1;
  int right = 0;
  for (size_t position = 0; position < widths.size(); ++position) {
    right += widths[position];
    if (x < right) return int(position);
  }
  return int(widths.size()) - 1;
}

bool IsColumnOrder(const std::vector<int>& order, int count) {
  if (int(order.size()) != count) return false;
  std::vector<bool> seen(order.size(), false);
  for (int column : order) {
    if (column < 0 || column >= count || seen[size_t(column)]) return false;
    seen[size_t(column)] = true;
  }
  return true;
}
