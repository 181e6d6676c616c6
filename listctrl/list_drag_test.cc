#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include "listctrl/numbered_list_test.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

constexpr long kEmpty = -1;  // in a path: the empty space under the rows
constexpr long kMillion = 1000000;  // rows, all selected

TEST(ListDragTest, DraggingSelectedRowsMarksAndReportsTheDropRow) {
  struct Case {
    const char* name;
    long rows;
    std::vector<long> selected;
    long pressed;
    std::vector<long> path;  // rows the pointer moves over, in order
    bool drop_on_self;
    bool dropped;  // a drop event arrives
    long drop_row;
    bool over_list;  // the pointer is released over the list
    int image_rows;  // rows high the drag image is, cut to column 0; -1: a page
  };
  const Case kCases[] = {
      {"crosses row 3, released under the rows", 4, {1}, 1, {2, 3, kEmpty}, true, true, 3, true, 1},
      {"dropped on a row", 4, {0, 2}, 2, {3, 1}, true, true, 1, true, 3},
      {"drop on self off", 4, {1}, 1, {2, 3}, false, true, -1, true, 1},
      {"released outside the list", 4, {1}, 1, {0, 2}, true, true, 2, false, 1},
      {"nothing selected", 4, {}, 1, {2, 3}, true, false, 0, true, 0},
      {"only the visible rows make the image", kMillion, {}, 1, {3}, true, true, 3, true, -1},
  };
  ScopedTestHome home;
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Drag", wxPoint(0, 0), wxSize(520, 420));
  auto* panel = new wxPanel(frame);
  frame->Show();
  ASSERT_TRUE(WaitFor([&] { return frame->IsShownOnScreen(); }));
  wxUIActionSimulator mouse;
  std::vector<ZORMListCtrlDragState> drops;  // the state as each drop saw it
  frame->Bind(wxEVT_ZORM_LIST_DROP, [&](CZORMListDropEvent& drop) {
    const ZORMListCtrlDragState& state = drop.GetList()->GetDragState();
    drops.push_back({state.source_row, state.drop_row, nullptr, state.window_under_pointer});
  });
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto* list = new NumberedList(panel, wxLC_REPORT | wxLC_VIRTUAL);
    list->SetItemCount(c.rows);
    if (c.rows == kMillion) list->SelectAll();
    list->EnableDrag();
    list->SetDropOnSelf(c.drop_on_self);
    list->SetDropNotification(frame);
    drops.clear();
    for (long row : c.selected) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    const auto point = [&](long row) {  // on column 1 of `row`, or under the rows
      wxRect rect;
      list->GetItemRect(row == kEmpty ? 3 : row, rect);
      return list->ClientToScreen(
          wxPoint(150, rect.y + rect.height / 2 + (row == kEmpty ? 3 * rect.height : 0)));
    };
    wxPoint at = point(c.pressed);
    mouse.MouseMove(at);
    Settle();
    mouse.MouseDown();
    if (c.selected.empty() && c.rows != kMillion) {  // the owner takes the press's selection back
      Settle();
      list->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    }
    for (size_t leg = 0; leg <= c.path.size(); ++leg) {
      const wxPoint to = leg < c.path.size() ? point(c.path[leg])
                                             : frame->ClientToScreen(wxPoint(480, 380));
      if (leg == c.path.size() && c.over_list) break;
      for (int step = 1; step <= 6; ++step) {
        mouse.MouseMove(at + (to - at) * step / 6);
        wxYield();
        wxMilliSleep(15);
      }
      at = to;
    }
    Settle();
    wxImage shot = Screenshot(home.path() + "/drag.png");
    ASSERT_TRUE(shot.IsOk());
    // A row looks selected when its last column has the colour of a selected row's.
    const auto colour = [&](long row) {
      const wxPoint p = point(row) + wxPoint(150, -8);  // above the text
      return wxColour(shot.GetRed(p.x, p.y), shot.GetGreen(p.x, p.y), shot.GetBlue(p.x, p.y));
    };
    const long marked =  // the way out of the list crosses the empty space under the rows
        c.drop_on_self && c.over_list && c.path.back() != kEmpty ? c.path.back() : -1;
    for (long row = 0; row < 4 && !c.selected.empty(); ++row) {  // the selection's look
      const bool looks_selected =
          std::count(c.selected.begin(), c.selected.end(), row) != 0 || row == marked;
      EXPECT_EQ(looks_selected, colour(row) == colour(c.selected.front())) << "row " << row;
    }
    mouse.MouseUp();
    Settle();
    ASSERT_EQ(c.dropped ? 1u : 0u, drops.size());
    EXPECT_FALSE(list->GetDragState().dragging);
    EXPECT_FALSE(list->GetTargetWindow()->HasCapture());
    if (c.dropped) {
      EXPECT_EQ(uint32_t(c.pressed), drops[0].source_row);
      EXPECT_EQ(c.drop_row, drops[0].drop_row);
      EXPECT_EQ(c.over_list, drops[0].window_under_pointer == list);
      int width = 0, height = 0;
      list->GetDragState().drag_image->GetSize(0, width, height);
      wxRect row;
      list->GetItemRect(0, row);
      const int rows = c.image_rows < 0 ? list->GetCountPerPage() : c.image_rows;
      EXPECT_EQ(wxSize(list->GetColumnWidth(0), rows * row.height), wxSize(width, height));
    }
    list->Destroy();
    Settle();
  }
  frame->Destroy();
}

}  // namespace
