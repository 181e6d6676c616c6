// Moving some of the rows a list shows to another place among them, as a drop of
// dragged rows does. Pure functions without wx.
#pragma once

#include <cstddef>
#include <vector>

// The order `shown` with the entries at the positions `moved` (ascending, each
// below shown.size()) taken out and put back together, in their order, after the
// unmoved entries that stood before position `before` and ahead of the others:
// just before the entry at `before` unless that one moves too. The position of
// the first moved entry in the result goes to *first.
std::vector<size_t> MoveRowsBefore(const std::vector<size_t>& shown, const std::vector<long>& moved,
                                   long before, long* first);
