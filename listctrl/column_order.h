// Column reordering as pure functions of column widths and orders, so that the
// header's dragging can be checked without a display. An order lists the columns'
// own indices from left to right: order[position] = column.
#pragma once

#include <vector>

// `order` with the column at `from` taken out and put back at `to` (both display
// positions); `order` itself when either is outside it.
std::vector<int> MoveInOrder(std::vector<int> order, int from, int to);

// The position of `column` in `order`; -1 when it is not there.
int PositionInOrder(const std::vector<int>& order, int column);

// Where a header press at `x` lies among columns of `widths` (display order, the
// first starting at x = 0): the position of the column under it, and -1 for a
// press within `border` pixels of a column's right edge, where the header resizes
// the column instead, or beyond the last column.
int PressedPosition(const std::vector<int>& widths, int x, int border);

// The position a column dragged to `x` takes: that of the column under `x`; 0
// left of the first column, the last one right of the last.
int DropPosition(const std::vector<int>& widths, int x);

// Whether `order` holds each of the columns 0 to `count` - 1 exactly once.
bool IsColumnOrder(const std::vector<int>& order, int count);
