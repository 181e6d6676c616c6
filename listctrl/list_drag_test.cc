#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include "listctrl/numbered_list_test.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

constexpr long kEmpty = -1;    // in a path: the empty space under the rows
constexpr long kOutside = -2;  // in a path: beside the list

TEST(ListDragTest, DraggingSelectedRowsMarksAndReportsTheDropRow) {
  struct Case {
    const char* name;
    long rows;                   // more than 4: all selected
    std::vector<long> selected;  // empty: the press's selection is taken back at once
    long pressed;
    std::vector<long> path;  // where the pointer moves; beside the list means across kEmpty
    bool drop_on_self;
    long drop_row;   // kOutside: no drop event
    int image_rows;  // rows high the drag image is, cut to column 0; -1: a page
  };
  const Case kCases[] = {
      {"crosses row 3, released under the rows", 4, {1}, 1, {2, 3, kEmpty}, true, 3, 1},
      {"dropped on a row", 4, {0, 2}, 2, {3, 1}, true, 1, 3},
      {"drop on self off", 4, {1}, 1, {2, 3}, false, -1, 1},
      {"released beside the list", 4, {1}, 1, {0, 2, kOutside}, true, 2, 1},
      {"nothing selected", 4, {}, 1, {2, 3}, true, kOutside, 0},
      {"only the visible rows make the image", 1000000, {}, 1, {3}, true, 3, -1},
  };
  ScopedTestHome home;
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Drag", wxPoint(0, 0), wxSize(520, 420));
  auto* panel = new wxPanel(frame);
  frame->Show();
  ASSERT_TRUE(WaitFor([&] { return frame->IsShownOnScreen(); }));
  wxUIActionSimulator mouse;
  std::vector<wxWindow*> drops;  // the list of each drop event
  frame->Bind(wxEVT_ZORM_LIST_DROP, [&](CZORMListDropEvent& e) { drops.push_back(e.GetList()); });
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto* list = new NumberedList(panel, wxLC_REPORT | wxLC_VIRTUAL);
    list->SetItemCount(c.rows);
    if (c.rows > 4) list->SelectAll();
    list->EnableDrag();
    list->SetDropOnSelf(c.drop_on_self);
    list->SetDropNotification(frame);
    drops.clear();
    for (long row : c.selected)
      list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxRect row;
    list->GetItemRect(0, row);
    const auto point = [&](long at) {  // on column 1 of row `at`
      if (at == kOutside) return frame->ClientToScreen(wxPoint(480, 380));
      return list->ClientToScreen(
          wxPoint(150, row.y + row.height * (at == kEmpty ? 6 : at) + row.height / 2));
    };
    wxPoint at = point(c.pressed);
    mouse.MouseMove(at);
    mouse.MouseDown();
    Settle();
    if (c.selected.empty() && c.rows == 4) list->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (long to : c.path) {
      for (int step = 1; step <= 6; ++step, wxYield(), wxMilliSleep(15))
        mouse.MouseMove(at + (point(to) - at) * step / 6);
      at = point(to);
    }
    Settle();
    const wxImage shot = Screenshot(home.path() + "/drag.png");
    const auto colour = [&](wxPoint p) {
      return wxColour(shot.GetRed(p.x, p.y), shot.GetGreen(p.x, p.y), shot.GetBlue(p.x, p.y));
    };
    // The drag image's gaps between rows that are apart show what lies below.
    EXPECT_NE(wxColour(0, 255, 0), colour(at + wxPoint(10, row.height * 3 / 2)));
    // A row looks selected when its last column has the colour of a selected row's.
    const auto look = [&](long row) { return colour(point(row) + wxPoint(150, -8)); };
    for (long row = 0; row < 4 && !c.selected.empty(); ++row) {
      const bool looks_selected = std::count(c.selected.begin(), c.selected.end(), row) != 0 ||
                                  (c.drop_on_self && row == c.path.back());
      EXPECT_EQ(looks_selected, look(row) == look(c.selected.front())) << "row " << row;
    }
    mouse.MouseUp();
    Settle();
    EXPECT_EQ(c.drop_row == kOutside ? 0u : 1u, drops.size());
    if (drops == std::vector<wxWindow*>{list}) {  // the drag state stays for the receiver
      const ZORMListCtrlDragState& state = list->GetDragState();
      EXPECT_EQ(uint32_t(c.pressed), state.source_row);
      EXPECT_EQ(c.drop_row, state.drop_row);
      EXPECT_EQ(c.path.back() != kOutside, state.window_under_pointer == list);
      const int rows = c.image_rows < 0 ? list->GetCountPerPage() : c.image_rows;
      EXPECT_EQ(wxSize(list->GetColumnWidth(0), rows * row.height), state.drag_image->GetSize());
    }
    list->Destroy();
    Settle();
  }
  frame->Destroy();
}

// Rows dragged to the list's bottom edge scroll it row by row while the pointer
// stays there, and back at the top edge the other way; in between it rests.
TEST(ListDragTest, HoldingDraggedRowsAtAnEdgeScrollsTheList) {
  ScopedTestHome home;
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Drag", wxPoint(0, 0), wxSize(520, 420));
  auto* list = new NumberedList(new wxPanel(frame), wxLC_REPORT | wxLC_VIRTUAL);
  frame->Show();
  ASSERT_TRUE(WaitFor([&] { return frame->IsShownOnScreen(); }));
  list->SetItemCount(100);
  list->EnableDrag();
  list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  wxWindow* rows = list->GetTargetWindow();
  wxRect row;
  list->GetItemRect(0, row);
  const int height = rows->GetClientSize().y;
  wxUIActionSimulator mouse;
  wxPoint at = rows->ClientToScreen(wxPoint(150, row.height + row.height / 2));
  mouse.MouseMove(at);
  mouse.MouseDown();
  Settle();
  const struct Case {
    int y, step;  // held at y in the rows for half a second, the top row moves by step
  } kCases[] = {{height - row.height / 2, 1}, {height / 2, 0}, {row.height / 2, -1}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.y);
    const wxPoint to = rows->ClientToScreen(wxPoint(150, c.y));
    for (int step = 1; step <= 6; ++step, wxYield(), wxMilliSleep(15))
      mouse.MouseMove(at + (to - at) * step / 6);
    at = to;
    Settle();
    const long before = list->GetTopItem();
    for (int tick = 0; tick < 25; ++tick, wxYield()) wxMilliSleep(20);
    EXPECT_EQ(c.step, std::clamp(list->GetTopItem() - before, -1L, 1L));
    int flags = 0;
    EXPECT_EQ(list->HitTest(rows->ScreenToClient(at), flags), list->GetDragState().drop_row);
  }
  mouse.MouseUp();
  Settle();
  frame->Destroy();
}

}  // namespace
