#include "listctrl/list_geometry.h"

namespace {

constexpr int kNoticeSideMargin = 30;
constexpr int kNoticeBandHeight = 40;
constexpr int kNoticeTextInset = 12;
constexpr int kStripHeight = 20;
constexpr int kStripGapAbove = 3;

ListRect Inflated(ListRect r, int dx, int dy) {
  return {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

}  // namespace

EmptyNoticeBand ComputeEmptyNoticeBand(ListRect client, int header_height) {
  client.top += header_height;
  const int h = client.Height();
  // Integer halving truncates toward zero, so an odd height gives a 41-pixel band.
  EmptyNoticeBand notice;
  notice.band = Inflated(client, -kNoticeSideMargin, kNoticeBandHeight / 2 - h / 2);
  notice.text = notice.band;
  notice.text.top += kNoticeTextInset;
  notice.text.bottom -= kNoticeTextInset;
  return notice;
}

ListRect StripAboveList(ListRect list) {
  list.bottom = list.top + kStripHeight;
  list.top -= kStripHeight + kStripGapAbove;
  list.bottom -= kStripHeight + kStripGapAbove;
  return list;
}

ListRect StripBelowList(ListRect list) {
  list.top = list.bottom - kStripHeight;
  list.top += kStripHeight;
  list.bottom += kStripHeight;
  return list;
}

int DragScrollStep(int y, int height, int row_height) {
  if (y < 0 || y >= height || row_height <= 0) return 0;
  if (y < row_height) return -1;
  if (y >= height - row_height) return 1;
  return 0;
}
