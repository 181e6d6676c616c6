#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdlib>

#include "listctrl/list_edit_event.h"
#include "listctrl/numbered_list_test.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

const wxEventTypeTag<CZORMListEditEvent> kBegin(wxNewEventType());
const wxEventTypeTag<CZORMListEditEvent> kEnd(wxNewEventType());

class ListEditingTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
    list_->SetItemCount(200);
    list_->GetFooter().Create(panel_, list_, wxID_ANY);
    Settle();
  }
  void TearDown() override { frame_->Destroy(); }
  wxPoint CellOnScreen(long row, int column) {
    wxRect cell;
    list_->GetSubItemRect(row, column, cell);
    return list_->ClientToScreen(wxPoint(cell.x + 20, cell.y + cell.height / 2));
  }
  void Click(wxPoint at, int modifier = 0) {
    sim_.MouseMove(at);
    Settle();
    if (modifier != 0) sim_.KeyDown(modifier);
    sim_.MouseClick();
    if (modifier != 0) sim_.KeyUp(modifier);
    Settle();
  }

  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
  wxPanel* panel_ = new wxPanel(frame_);
  NumberedList* list_ = new NumberedList(panel_, wxLC_REPORT | wxLC_VIRTUAL, 5);
  wxUIActionSimulator sim_;
};

TEST_F(ListEditingTest, FooterCountsRowsAndSelectionAsTheyChange) {
  ScopedTestHome home;
  const auto first_selected = [&] { return list_->GetFirstSelectedRow(); };
  struct Case {
    const char* step;
    std::function<void()> act;
    std::string figures[3];
  } cases[] = {
      {"1,500 rows", [&] { list_->SetItemCount(1500); }, {"1,500", "", ""}},
      {"rows 4 and 9 clicked", [&] {
         Click(CellOnScreen(3, 1));
         Click(CellOnScreen(8, 1), WXK_CONTROL);
       }, {"1,500", "2", "4"}},
      {"inverted by the list", [&] { list_->RunListCommand('I'); }, {"1,500", "1,498", "1"}},
      {"no rows", [&] { list_->SetItemCount(0); }, {"0", "", ""}},
  };
  const char* const labels[3] = {"Total Items", "Total Selected", "First Selection"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    c.act();
    for (int pane = 0; pane < 3; ++pane) {
      const CZORMListFooter::PaneText text = list_->GetFooter().GetPaneText(pane);
      EXPECT_EQ(c.figures[pane], text.figure) << pane;
      EXPECT_EQ(c.figures[pane].empty() ? "" : labels[pane], text.label) << pane;
    }
  }
  EXPECT_EQ(-1, first_selected());

  // What the strip shows: white label text on the dark shadow colour, then a
  // black figure after a gap.
  list_->SetItemCount(1500);
  list_->GetFooter().Refresh();
  Settle();
  const wxImage shot = Screenshot(home.path() + "/footer.png");
  ASSERT_TRUE(shot.IsOk());
  wxRect pane;
  list_->GetFooter().GetFieldRect(0, pane);
  pane.SetPosition(list_->GetFooter().ClientToScreen(pane.GetPosition()));
  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
  const auto at = [&](int x, int y) {
    return wxColour(shot.GetRed(x, y), shot.GetGreen(x, y), shot.GetBlue(x, y));
  };
  int label_width = 0;  // the shadow box along the pane's top row
  while (label_width < pane.width && at(pane.x + label_width, pane.y) == shadow) ++label_width;
  int white = 0, black_after = 0;
  for (int x = pane.x; x < pane.GetRight(); ++x) {
    for (int y = pane.y; y < pane.GetBottom(); ++y) {
      if (x < pane.x + label_width) white += at(x, y) == *wxWHITE;
      if (x > pane.x + label_width + 5) black_after += at(x, y) == *wxBLACK;
    }
  }
  EXPECT_GT(white, 20) << "the label's text";
  EXPECT_GT(label_width, 40);
  EXPECT_GT(black_after, 10) << "the figure";
}

TEST_F(ListEditingTest, EditorsEndOnCommitOrCancelAsTheUserLeavesThem) {
  auto* elsewhere = new wxTextCtrl(panel_, wxID_ANY, "", wxPoint(20, 20), wxSize(200, 30));
  wxWindow* editors[] = {&list_->GetTextEditor(), &list_->GetComboEditor(),
                         &list_->GetCheckboxEditor(), &list_->GetDateEditor()};
  for (int column = 0; column < 5; ++column) list_->SetColumnWidth(column, 90);
  for (unsigned column = 0; column < 4; ++column)
    list_->RegisterEditor(column, {editors[column], nullptr, kEnd, kBegin});
  std::vector<std::string> sent;  // "begin row,column" and "end row,column"
  const auto note = [&](CZORMListEditEvent& event) {
    sent.push_back((event.GetEventType() == kBegin ? "begin " : "end ") +
                   std::to_string(event.GetRow()) + "," + std::to_string(event.GetColumn()));
  };
  panel_->Bind(kBegin, note);  // the list's parent, as no other receiver is named
  panel_->Bind(kEnd, note);
  wxWindow* rows = list_->GetTargetWindow();
  // The overlay scroll bar along the rows' right edge, below its thumb.
  const wxPoint scrollbar = rows->ClientToScreen(wxPoint(rows->GetClientSize().x - 3, 150));

  enum Leave { kEnter, kEscape, kClickList, kClickElsewhere, kScrollbar, kWheel, kSideWheel,
               kDropDownClosed };
  struct Case {
    int column;
    const char* typed;
    Leave leave;
    bool ended;  // an end event was sent
    bool open;   // the editor is still shown
  } const kCases[] = {
      {0, "ab", kEnter, true, false},          {0, "", kEnter, false, false},
      {0, "ab", kEscape, false, false},        {0, "ab", kClickList, true, false},
      {0, "ab", kClickElsewhere, false, true}, {0, "ab", kScrollbar, true, false},
      {0, "ab", kWheel, false, true},          {0, "ab", kSideWheel, false, true},
      {1, "x", kEnter, true, false},           {1, "x", kEscape, false, false},
      {1, "", kDropDownClosed, true, false},   {1, "", kClickList, true, false},
      {2, " ", kEnter, true, false},           {2, " ", kEscape, false, false},
      {2, "", kClickList, true, false},        {3, "", kEnter, true, false},
      {3, "", kEscape, false, false},          {3, "", kClickList, true, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "column " << c.column << " leave " << c.leave);
    sent.clear();
    list_->EnsureVisible(0);
    Settle();
    Click(CellOnScreen(2, c.column));
    wxWindow* editor = editors[c.column];
    ASSERT_TRUE(WaitFor([&] { return editor->IsShown() && editor->HasFocus(); }));
    const wxPoint placed = editor->GetScreenPosition();
    EXPECT_STREQ(wxString::Format("Column %d", c.column).utf8_str(),
                 atk_object_get_name(gtk_widget_get_accessible(editor->GetHandle())));
    sim_.Text(c.typed);
    Settle();
    switch (c.leave) {
      case kEnter: sim_.Char(WXK_RETURN); break;
      case kEscape: sim_.Char(WXK_ESCAPE); break;
      case kClickList: Click(CellOnScreen(5, 4)); break;
      case kClickElsewhere: Click(elsewhere->GetScreenPosition() + wxPoint(10, 10)); break;
      case kScrollbar: Click(scrollbar); break;
      case kWheel: case kSideWheel:
        sim_.MouseMove(CellOnScreen(6, 1));
        Settle();
        ASSERT_EQ(0, std::system(c.leave == kWheel ? "xdotool click 5" : "xdotool click 7"));
        break;
      case kDropDownClosed:
        sim_.Char(WXK_DOWN, wxMOD_ALT);
        Settle();
        sim_.Char(WXK_ESCAPE);
        break;
    }
    WaitFor([&] { return editor->IsShown() != c.open; });
    Settle();
    std::vector<std::string> expected = {"begin 2," + std::to_string(c.column)};
    if (c.ended) expected.push_back("end 2," + std::to_string(c.column));
    EXPECT_EQ(expected, sent);
    EXPECT_EQ(c.open, editor->IsShown());
    if (c.open) {
      EXPECT_EQ(placed, editor->GetScreenPosition()) << "the editor stays where it was placed";
      list_->CancelEdit();
    } else {
      EXPECT_EQ(!c.ended, list_->IsEditCancelled());
    }
    if (c.column == 0) {  // the cell's text, replaced by what is typed
      EXPECT_EQ(*c.typed ? wxString(c.typed) : list_->GetItemText(2, 0), list_->GetTextEditor().GetValue());
    }
  }
}

}  // namespace
