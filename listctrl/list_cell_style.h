// The drawing rules of a CZORMListCtrl's rows and cells: alternate shading, the
// highlighted column, the totals line and per-column fonts. They are kept free of any
// window system so that they can be checked without a display; the list applies the
// decisions to its window. Colours are 0xRRGGBB values.
#pragma once

#include <cstdint>

// The moments of one drawing pass of the list, in the order the list goes through them.
enum class ListDrawStage {
  kPrePaint,         // before anything of the list is drawn
  kItemPrePaint,     // before one row is drawn
  kItemPostPaint,    // after one row was drawn
  kSubItemPrePaint,  // before one cell is drawn
  kOther,
};

// Flags a drawing decision answers with: what the list wants to hear about or
// changed for the rest of the pass.
constexpr unsigned kListDrawNewFont = 0x02;          // a font was chosen for the cell
constexpr unsigned kListDrawNotifyPostPaint = 0x10;  // call back after each row
constexpr unsigned kListDrawNotifyItemDraw = 0x20;   // call back for each row and cell

constexpr uint32_t kListTextColour = 0x000000;
constexpr uint32_t kListBackground = 0xFFFFFF;
constexpr uint32_t kListShadedRowBackground = 0xD2DCD2;
constexpr uint32_t kListHighlightedColumnBackground = 0xF5F5F5;

// Which font a cell is drawn in.
enum class ListCellFont {
  kUnchanged,        // the list's own font
  kColumnFont,       // the font set for the cell's column
  kDefaultCellFont,  // the list's default cell font (its column has none)
};

// The list's drawing settings.
struct ListDrawSettings {
  bool alternate_shading = false;
  bool totals_line = false;
  int highlighted_column = -2;    // no column
  bool has_column_fonts = false;  // at least one column has a font of its own
};

// What is being drawn.
struct ListDrawTarget {
  ListDrawStage stage = ListDrawStage::kPrePaint;
  long row = 0;
  long item_count = 0;
  int column = 0;
  bool column_has_font = false;  // the cell's column has a font of its own
};

struct ListDrawDecision {
  uint32_t text_colour = kListTextColour;
  uint32_t background = kListBackground;
  ListCellFont font = ListCellFont::kUnchanged;
  unsigned flags = 0;  // kListDraw* flags
};

// Colours, font and flags for `target` under `settings`. Even rows are shaded when
// shading is on (row 0 is shaded); a cell of the highlighted column that is still
// black on white gets a light grey background, except in the totals row (the last
// row while the totals line is on).
ListDrawDecision DecideListDraw(const ListDrawSettings& settings, const ListDrawTarget& target);

// Whether the totals line is drawn above `row`: the totals line is on, `row` is the
// last row, the list is in report view and the row's top (in the list's client
// coordinates) is not the list's top edge.
bool DrawsTotalsLine(bool totals_line, long row, long item_count, int row_top, bool report_view);
