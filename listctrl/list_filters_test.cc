#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>

#include "listctrl/filter_bar.h"
#include "listctrl/filter_change_event.h"
#include "listctrl/numbered_list_test.h"
#include "platform/profile.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

using Filters = std::map<unsigned, std::string>;
using Saved = std::map<std::string, std::string>;
const wxEventTypeTag<CZORMFilterChangeEvent> kChanged(wxNewEventType());

class ListFiltersTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_->Bind(kChanged, [this](CZORMFilterChangeEvent&) { ++changes_; });
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
  }
  void TearDown() override { delete frame_; }  // at once: the list writes into home_
  void MakeList(int columns, const std::string& registry = "", bool load = false) {
    list_ = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, columns);
    list_->SetItemCount(30);
    list_->SetRegistryName(registry);
    list_->EnableFilterBar();
    list_->SetFilterChangeMessage(kChanged);
    if (load) list_->LoadListState();
    Settle();
  }
  Filters Patterns() {  // read from the boxes, so the boxes show them too
    Filters patterns;
    for (const auto& [column, filter] : list_->GetFilters()) patterns[column] = filter.pattern;
    return patterns;
  }
  Saved SavedFilters() { return {list_->GetSavedFilters().begin(), list_->GetSavedFilters().end()}; }
  std::string Profile(const char* entry) { return GetProfileString("CListCtrl_parts", entry, "-"); }

  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Filters", wxPoint(0, 0), wxSize(520, 420));
  NumberedList* list_ = nullptr;
  int changes_ = 0;
};

TEST_F(ListFiltersTest, TypedTextReachesTheMapOnEnterAPauseOrWhenCleared) {
  MakeList(3);
  list_->SetFocus();  // the frame takes the keyboard as a user's would
  const struct Case {
    int column;
    const char* keys;  // '|' waits past the pause, '\r' is Enter, '\b' Backspace
    int changes;
    Filters filters;
  } kCases[] = {
      {1, "abc|\b\b\b|", 2, {}},
      {2, "xy\r|", 1, {{2, "xy"}}},  // Enter passes it on at once, the pause adds nothing
  };
  wxUIActionSimulator input;
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.column);
    list_->ClearFilters(), changes_ = 0;
    wxTextCtrl* box = list_->GetFilterBar()->GetBox(test.column);
    input.MouseMove(box->GetScreenRect().GetPosition() + box->GetSize() / 2);
    Settle();
    input.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == box; }));
    for (const char* key = test.keys; *key != '\0'; ++key) {
      wxStopWatch watch;
      if (*key == '|') WaitFor([&] { return watch.Time() > CZORMFilterBar::kPauseMs * 3 / 2; });
      if (*key != '|') input.Char(*key == '\r' ? int(WXK_RETURN) : *key == '\b' ? int(WXK_BACK) : *key);
      Settle();
    }
    EXPECT_EQ(test.changes, changes_);
    EXPECT_EQ(test.filters, Patterns());
  }
}

TEST_F(ListFiltersTest, BoxesStayUnderTheirColumnsAndTheHeaderNotesTheItemPressed) {
  MakeList(3);
  const struct Case {
    std::vector<int> widths;
    int scroll;
  } kCases[] = {{{60, 90, 120}, 0}, {{200, 150, 180}, 0}, {{200, 150, 180}, 60}, {{60, 90, 120}, 0}};
  wxUIActionSimulator mouse;
  const wxWindow* header = list_->GetHeader().GetWindow();
  for (const Case& test : kCases) {
    SCOPED_TRACE(testing::Message() << test.widths[0] << " " << test.scroll);
    list_->ScrollList(-1000, 0);
    for (int column = 0; column < 3; ++column) list_->SetColumnWidth(column, test.widths[column]);
    list_->ScrollList(test.scroll, 0);
    Settle();
    const wxRect bar = list_->GetFilterBar()->GetRect();
    EXPECT_EQ(bar.y, header->GetRect().GetBottom() + 1);
    for (int column = 0; column < 3; ++column) {
      wxRect cell;  // where the list draws the column's cells
      ASSERT_TRUE(list_->GetSubItemRect(0, column, cell));
      wxRect box = list_->GetFilterBar()->GetBox(column)->GetRect();
      box.Offset(bar.x, bar.y);
      EXPECT_EQ(wxRect(cell.x, bar.y, cell.width, bar.height), box);
      mouse.MouseMove(header->ClientToScreen(wxPoint(std::max(cell.x, 0) + 10, 5)));
      mouse.MouseClick();
      EXPECT_TRUE(WaitFor([&] { return list_->GetHeader().GetLastItemPressed() == column; }));
    }
  }
  mouse.MouseMove(header->ClientToScreen(wxPoint(415, 5)));
  mouse.MouseClick();
  EXPECT_TRUE(WaitFor([&] { return list_->GetHeader().GetLastItemPressed() == -1; }));
}

// Columns 100, 130 and 160 pixels wide, dragged by their headers in a virtual and
// a plain list.
TEST_F(ListFiltersTest, DraggedHeadersMoveTheirColumnsWithBoxesAndCells) {
  const struct Case {
    int from_x, to_x;  // in the header
    std::vector<int> order;
  } kCases[] = {
      {60, 350, {1, 2, 0}}, {300, 10, {0, 1, 2}}, {180, 250, {0, 2, 1}},
      {98, 300, {0, 2, 1}},  // on the border: resizes column 0 instead
  };
  wxUIActionSimulator mouse;
  for (long style : {long(wxLC_REPORT | wxLC_VIRTUAL), long(wxLC_REPORT)}) {
    list_ = new NumberedList(frame_, style, 3);
    if (style & wxLC_VIRTUAL) list_->SetItemCount(30);
    for (long row = 0; row < 2 && !(style & wxLC_VIRTUAL); ++row)
      for (int column = 0; column < 3; ++column)
        list_->SetItem(column ? row : list_->InsertItem(row, ""), column, wxString::Format("R%ld C%d", row, column));
    for (int column = 0; column < 3; ++column) list_->SetColumnWidth(column, 100 + 30 * column);
    list_->EnableFilterBar();
    Settle();
    const wxWindow* header = list_->GetHeader().GetWindow();
    for (const Case& test : kCases) {
      SCOPED_TRACE(testing::Message() << style << ": " << test.from_x << "->" << test.to_x);
      mouse.MouseMove(header->ClientToScreen(wxPoint(test.from_x, 8)));
      mouse.MouseDown();
      for (int step = 1; step <= 8; ++step, wxYield(), wxMilliSleep(15))
        mouse.MouseMove(header->ClientToScreen(
            wxPoint(test.from_x + (test.to_x - test.from_x) * step / 8, 8)));
      mouse.MouseUp();
      Settle();
      const wxArrayInt order = list_->GetColumnsOrder();
      EXPECT_EQ(test.order, std::vector<int>(order.begin(), order.end()));
      for (int position = 0; position < 3; ++position) {
        const std::string own = std::to_string(test.order[size_t(position)]);
        EXPECT_EQ("Column " + own, list_->GetColumnHeaderText(position));
        EXPECT_EQ("R1 C" + own, list_->GetExportCellText(1, position).substr(0, 5));
        wxRect cell;
        list_->GetSubItemRect(0, position, cell);
        const wxRect box = list_->GetFilterBar()->GetBox(test.order[size_t(position)])->GetRect();
        EXPECT_EQ(wxSize(cell.x, cell.width), wxSize(box.x, box.width));
      }
    }
    delete list_;
  }
}

TEST_F(ListFiltersTest, FiltersAreSavedRestoredRemovedAndShown) {
  MakeList(3, "parts");
  const Saved both = {{"first", "`L1`Rabc`L2`Rx"}, {"second", "`L0`RB*"}};
  const Saved first = {{"first", "`L1`Rabc`L2`Rx"}};
  const struct Case {
    std::function<void()> act;
    std::vector<Answer> answers;
    std::vector<std::string> messages, preselected;
    Saved saved;
    Filters filters;
    std::string default_filter;
  } kCases[] = {
      {[&] { list_->SaveFilter(), list_->RestoreFilter(), list_->SetRegistryName("");
             list_->SetFilterText(0, "a"), list_->SaveFilter(), list_->SetRegistryName("parts"),
             list_->ClearFilters(); },
       {{"never asked"}},
       {"Save Error|You have no filters set to save", "Restore Error|You have no saved filters",
        "Save Error|This list is not registered for filter saving"},
       {}, {}, {}, "-"},
      {[&] { list_->SetFilterText(1, "abc"), list_->SaveFilter(); }, {{""}, {"first"}},
       {"Input Error|Filter save name can not be blank"}, {}, {{"first", "`L1`Rabc"}},
       {{1, "abc"}}, "-"},
      {[&] { list_->SetFilterText(2, "x"), list_->SaveFilter(); }, {{"first"}}, {}, {}, first,
       {{1, "abc"}, {2, "x"}}, "-"},  // replaced
      {[&] { list_->ClearFilters(), list_->SetFilterText(0, "B*"), list_->SaveFilter(); },
       {{"second"}}, {}, {}, both, {{0, "B*"}}, "-"},
      {[&] { list_->RestoreFilter(); }, {{"", "second"}}, {}, {"first"}, both, {{0, "B*"}},
       "second"},
      {[&] { list_->RestoreFilter(); }, {{"", "first", false}}, {}, {"second"}, both,
       {{1, "abc"}, {2, "x"}}, ""},  // the default was preselected
      {[&] { list_->RestoreFilter(); }, {{"", "second", true, 6}}, {}, {"first"}, first,
       {{1, "abc"}, {2, "x"}}, "second"},  // removed
      {[&] { list_->RestoreFilter(); }, {}, {}, {"first"}, first, {{1, "abc"}, {2, "x"}}, "second"},
      {[&] { list_->SetFilterText(2, "`y"), list_->ShowFilters(), list_->SaveFilter(); }, {},
       {"Filter Value|1:Column 1[abc]", "Filter Value|2:Column 2[`y]",
        "Save Error|A filter with a backquote (`) can not be saved"},
       {}, first, {{1, "abc"}, {2, "`y"}}, "second"},
      {[&] { list_->RunListCommand('f'), list_->RunListCommand('y'); }, {},
       {"Filter Value|No Filters set"}, {}, first, {}, "second"},
      {[&] { list_->SetFilterText(1, std::string(5000, 'a') + "\xC3\xA9"); }, {}, {}, {}, first,
       {{1, std::string(1023, 'a')}}, "second"},  // cut to 1023 bytes
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(&test - kCases);
    DialogScript script(test.answers);
    test.act();
    EXPECT_EQ(test.messages, script.shown);
    EXPECT_EQ(test.preselected, script.preselected);
    EXPECT_EQ(test.saved, SavedFilters());
    EXPECT_EQ(test.filters, Patterns());
    EXPECT_EQ(test.default_filter, Profile("DefaultFilter"));
  }
}

TEST_F(ListFiltersTest, TheListSectionIsWrittenOnDestructionAndReadBack) {
  const struct Case {
    std::vector<std::pair<const char*, const char*>> edits;  // as a user may leave them
    int columns;
    Saved saved;
    Filters filters;
    std::string order;
  } kCases[] = {
      {{{"Order", "2,0,1,"}, {"0_Name", "a"}, {"0_Value", "`L1`Rx"}, {"1_Name", "b"},
        {"1_Value", "`L2`Ry`L7`Rz"}, {"DefaultFilter", "b"}},
       3, {{"a", "`L1`Rx"}, {"b", "`L2`Ry`L7`Rz"}}, {{2, "y"}}, "2,0,1,"},
      {{{"1_Name", nullptr}, {"0_Value", "`Rq`L-1`Rw`L99999999999`Rv"}, {"DefaultFilter", "a"}},
       3, {{"a", "`Rq`L-1`Rw`L99999999999`Rv"}}, {{0, "q"}}, "2,0,1,"},
      {{{"Order", "1,0,"}}, 40, {{"a", "`Rq`L-1`Rw`L99999999999`Rv"}}, {{0, "q"}}, "1,0,"},
  };
  WriteProfileInt("CListCtrl_parts", "FilterTotal", -1);  // more than there are
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.columns);
    for (const auto& [entry, value] : test.edits) WriteProfileString("CListCtrl_parts", entry, value);
    MakeList(test.columns, "parts", true);
    EXPECT_EQ(test.saved, SavedFilters());
    EXPECT_EQ(test.filters, Patterns());
    delete list_;
    EXPECT_EQ(test.order, Profile("Order"));  // none written from 32 columns on
  }
}

}  // namespace
