// Where a CZORMListCtrl draws its empty-list notice and where it keeps its
// companion strips, as pure functions of rectangles, so that they can be checked
// without a display.
#pragma once

// A rectangle with exclusive right and bottom edges.
struct ListRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ListRect&) const = default;
};

struct EmptyNoticeBand {
  ListRect band;  // the rounded rectangle
  ListRect text;  // where the notice's text is written, centred and word-wrapped
};

// The band of the empty-list notice in a list whose client rectangle is `client` and
// whose header is `header_height` pixels high (0 without a header): 40 pixels high,
// centred vertically in the area below the header, 30 pixels in from each side; the
// text sits 12 pixels inside the band's top and bottom.
EmptyNoticeBand ComputeEmptyNoticeBand(ListRect client, int header_height);

// The 20-pixel strip kept above a list whose window rectangle (in its parent's
// client coordinates) is `list`, with a gap of 3 pixels: same left and width.
ListRect StripAboveList(ListRect list);

// The 20-pixel strip directly under a list whose window rectangle is `list`.
ListRect StripBelowList(ListRect list);

// Which way dragged rows scroll a list whose rows are `height` pixels high, with
// the pointer at `y` in them: -1 (up a row) within `row_height` of the top, 1
// (down a row) within `row_height` of the bottom, else 0.
int DragScrollStep(int y, int height, int row_height);
