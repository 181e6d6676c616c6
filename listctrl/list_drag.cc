// The drop event's type and the drag image's geometry; the list's dragging itself,
// and the making of the event, are in zorm_list_ctrl_drag.cc.
#include "listctrl/list_drag.h"

#include <algorithm>

wxDEFINE_EVENT(wxEVT_ZORM_LIST_DROP, CZORMListDropEvent);

ListRect DragImageBounds(const std::vector<ListRect>& rows, int width_limit) {
  ListRect bounds;
  bool any = false;
  for (const ListRect& row : rows) {
    const ListRect cut{std::max(row.left, 0), row.top, std::min(row.right, width_limit),
                       row.bottom};
    if (cut.Width() <= 0 || cut.Height() <= 0) continue;
    if (!any) {
      bounds = cut;
      any = true;
      continue;
    }
    bounds = {std::min(bounds.left, cut.left), std::min(bounds.top, cut.top),
              std::max(bounds.right, cut.right), std::max(bounds.bottom, cut.bottom)};
  }
  return bounds;
}
