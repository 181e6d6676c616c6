#include "listctrl/list_cell_style.h"

ListDrawDecision DecideListDraw(const ListDrawSettings& settings, const ListDrawTarget& target) {
  ListDrawDecision decision;
  if (settings.alternate_shading && target.row % 2 == 0) {
    decision.background = kListShadedRowBackground;
    decision.flags |= kListDrawNotifyItemDraw;
  }
  if (settings.totals_line) decision.flags |= kListDrawNotifyPostPaint;

  switch (target.stage) {
    case ListDrawStage::kPrePaint:
    case ListDrawStage::kItemPrePaint:
      decision.flags |= kListDrawNotifyItemDraw;
      break;
    case ListDrawStage::kSubItemPrePaint: {
      const bool totals_row = settings.totals_line && target.row == target.item_count - 1;
      if (!totals_row && target.column == settings.highlighted_column &&
          decision.text_colour == kListTextColour && decision.background == kListBackground) {
        decision.background = kListHighlightedColumnBackground;
      }
      if (settings.has_column_fonts) {
        decision.font =
            target.column_has_font ? ListCellFont::kColumnFont : ListCellFont::kDefaultCellFont;
        decision.flags |= kListDrawNewFont;
      }
      break;
    }
    case ListDrawStage::kItemPostPaint:  // the totals line: see DrawsTotalsLine
    case ListDrawStage::kOther:
      break;
  }
  return decision;
}

bool DrawsTotalsLine(bool totals_line, long row, long item_count, int row_top, bool report_view) {
  return totals_line && row == item_count - 1 && row_top != 0 && report_view;
}
