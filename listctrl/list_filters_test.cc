#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
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

Filters PatternsOf(const CZORMListCtrl& list) {
  Filters patterns;
  for (const auto& [column, filter] : list.GetFilters()) patterns[column] = filter.pattern;
  return patterns;
}

class ListFiltersTest : public testing::Test {
 protected:
  void SetUp() override {
    SetProfileApplicationName("list-filters-test");
    frame_->Bind(kChanged, [this](CZORMFilterChangeEvent&) { ++changes_; });
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
  }
  // At once, so that the list writes its section into this test's home.
  void TearDown() override { delete frame_; }
  NumberedList* MakeList(int columns, const std::string& registry = "", bool load = false) {
    list_ = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, columns);
    list_->SetItemCount(30);
    list_->SetRegistryName(registry);
    list_->EnableFilterBar();
    list_->SetFilterChangeMessage(kChanged);
    if (load) list_->LoadListState();
    Settle();
    return list_;
  }
  std::string Profile(const char* entry) {
    return GetProfileString("CListCtrl_parts", entry, "(none)");
  }

  ScopedTestHome home_;
  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "Filters", wxPoint(0, 0), wxSize(520, 420));
  NumberedList* list_ = nullptr;
  int changes_ = 0;
};

TEST_F(ListFiltersTest, TypedTextReachesTheMapOnEnterAPauseOrWhenCleared) {
  MakeList(3)->SetFocus();  // the frame takes the keyboard as a user's would
  const struct Case {
    int column;
    const char* keys;  // '|' waits past the pause, '\r' is Enter, '\b' Backspace
    int changes;
    Filters filters;
  } kCases[] = {
      {1, "abc|\b\b\b|", 2, {}},
      {2, "xy\r|", 1, {{2, "xy"}}},  // Enter passes it on at once, the pause adds nothing
      {0, "ab|c|", 2, {{0, "abc"}}},
  };
  wxUIActionSimulator input;
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.keys);
    list_->ClearFilters();
    changes_ = 0;
    wxTextCtrl* box = list_->GetFilterBar()->GetBox(test.column);
    input.MouseMove(box->GetScreenRect().GetPosition() + box->GetSize() / 2);
    Settle();
    input.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == box; }));
    for (const char* key = test.keys; *key != '\0'; ++key) {
      if (*key == '|') {
        wxStopWatch watch;
        WaitFor([&] { return watch.Time() > CZORMFilterBar::kPauseMs * 3 / 2; });
      } else {
        input.Char(*key == '\r' ? int(WXK_RETURN) : *key == '\b' ? int(WXK_BACK) : *key);
        Settle();
      }
    }
    EXPECT_EQ(test.changes, changes_);
    EXPECT_EQ(test.filters, PatternsOf(*list_));
  }
}

TEST_F(ListFiltersTest, BoxesStayUnderTheirColumnsAndTheHeaderNotesTheItemPressed) {
  MakeList(3);
  const struct Case {
    std::vector<int> widths;
    int scroll;
  } kCases[] = {{{60, 90, 120}, 0}, {{200, 150, 180}, 0}, {{200, 150, 180}, 60}, {{60, 90, 120}, 0}};
  wxUIActionSimulator mouse;
  for (const Case& test : kCases) {
    SCOPED_TRACE(testing::Message() << test.widths[0] << " " << test.scroll);
    list_->ScrollList(-1000, 0);
    for (int column = 0; column < 3; ++column) list_->SetColumnWidth(column, test.widths[column]);
    list_->ScrollList(test.scroll, 0);
    Settle();
    const wxWindow* header = list_->GetHeader().GetWindow();
    for (int column = 0; column < 3; ++column) {
      wxRect cell;  // where the list draws the column's cells
      ASSERT_TRUE(list_->GetSubItemRect(0, column, cell));
      const wxRect box = list_->GetFilterBar()->GetBox(column)->GetRect();
      EXPECT_EQ(cell.x, box.x + list_->GetFilterBar()->GetPosition().x) << column;
      EXPECT_EQ(cell.width, box.width) << column;
      EXPECT_EQ(list_->GetFilterBar()->GetPosition().y, header->GetRect().GetBottom() + 1);
      mouse.MouseMove(header->ClientToScreen(wxPoint(std::max(cell.x, 0) + 10, 5)));
      mouse.MouseClick();
      EXPECT_TRUE(WaitFor([&] { return list_->GetHeader().GetLastItemPressed() == column; }));
    }
  }
  mouse.MouseMove(list_->GetHeader().GetWindow()->ClientToScreen(wxPoint(415, 5)));
  mouse.MouseClick();
  EXPECT_TRUE(WaitFor([&] { return list_->GetHeader().GetLastItemPressed() == -1; }));
}

TEST_F(ListFiltersTest, FiltersAreSavedRestoredRemovedAndShown) {
  MakeList(3, "parts");
  const struct Case {
    std::function<void()> act;
    std::vector<Answer> answers;
    std::vector<std::string> messages, preselected;
    Saved saved;
    Filters filters;
    std::string default_filter;
  } kCases[] = {
      {[&] { list_->SaveFilter(); list_->RestoreFilter(); }, {},
       {"Save Error|You have no filters set to save", "Restore Error|You have no saved filters"},
       {}, {}, {}, "(none)"},
      {[&] { list_->SetFilterText(1, "abc"); list_->SaveFilter(); },
       {{""}, {"first"}}, {"Input Error|Filter save name can not be blank"}, {},
       {{"first", "`L1`Rabc"}}, {{1, "abc"}}, "(none)"},
      {[&] { list_->SetFilterText(2, "x"); list_->SaveFilter(); }, {{"first"}}, {}, {},
       {{"first", "`L1`Rabc`L2`Rx"}}, {{1, "abc"}, {2, "x"}}, "(none)"},
      {[&] { list_->ClearFilters(); list_->SetFilterText(0, "B*"); list_->SaveFilter(); },
       {{"second"}}, {}, {}, {{"first", "`L1`Rabc`L2`Rx"}, {"second", "`L0`RB*"}},
       {{0, "B*"}}, "(none)"},
      {[&] { list_->RestoreFilter(); }, {{"", "first"}}, {}, {"first"},
       {{"first", "`L1`Rabc`L2`Rx"}, {"second", "`L0`RB*"}}, {{1, "abc"}, {2, "x"}}, "first"},
      {[&] { list_->RestoreFilter(); }, {{"", "second", false}}, {}, {"first"},
       {{"first", "`L1`Rabc`L2`Rx"}, {"second", "`L0`RB*"}}, {{0, "B*"}}, ""},
      {[&] { list_->RestoreFilter(); }, {{"", "second", true, 6}}, {}, {"first"},
       {{"first", "`L1`Rabc`L2`Rx"}}, {{0, "B*"}}, "second"},
      {[&] { list_->RestoreFilter(); }, {}, {}, {"first"}, {{"first", "`L1`Rabc`L2`Rx"}},
       {{0, "B*"}}, "second"},  // cancelled
      {[&] { list_->SetFilterText(2, "`y"); list_->ShowFilters(); list_->SaveFilter(); }, {},
       {"Filter Value|0:Column 0[B*]", "Filter Value|2:Column 2[`y]",
        "Save Error|A filter with a backquote (`) can not be saved"},
       {}, {{"first", "`L1`Rabc`L2`Rx"}}, {{0, "B*"}, {2, "`y"}}, "second"},
      {[&] { list_->RunListCommand('f'); list_->RunListCommand('y'); }, {},
       {"Filter Value|No Filters set"}, {}, {{"first", "`L1`Rabc`L2`Rx"}}, {}, "second"},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(&test - kCases);
    DialogScript script(test.answers);
    test.act();
    EXPECT_EQ(test.messages, script.shown);
    EXPECT_EQ(test.preselected, script.preselected);
    EXPECT_EQ(test.saved, Saved(list_->GetSavedFilters().begin(), list_->GetSavedFilters().end()));
    EXPECT_EQ(test.filters, PatternsOf(*list_));
    for (unsigned column = 0; column < 3; ++column) {
      std::string text;
      ASSERT_TRUE(list_->GetFilterBar()->GetText(int(column), &text));
      EXPECT_EQ(test.filters.count(column) ? test.filters.at(column) : "", text) << column;
    }
    EXPECT_EQ(test.default_filter, Profile("DefaultFilter"));
  }
}

TEST_F(ListFiltersTest, TheListSectionIsWrittenOnDestructionAndReadBack) {
  const auto write = [](const char* entry, const char* value) {
    WriteProfileString("CListCtrl_parts", entry, value);
  };
  const struct Case {
    std::function<void()> edit;  // the section as a user may have left it
    int columns;
    Saved saved;
    Filters filters;
    std::string order_written;
  } kCases[] = {
      {[&] {
         write("Order", "2,0,1,");
         WriteProfileInt("CListCtrl_parts", "FilterTotal", 2);
         write("0_Name", "a"), write("0_Value", "`L1`Rx"), write("1_Name", "b");
         write("1_Value", "`L2`Ry`L7`Rz"), write("DefaultFilter", "b");
       },
       3, {{"a", "`L1`Rx"}, {"b", "`L2`Ry`L7`Rz"}}, {{2, "y"}}, "0,1,2,"},
      {[&] {
         WriteProfileInt("CListCtrl_parts", "FilterTotal", -1), write("1_Name", nullptr);
         write("Order", "0,1,"), write("0_Value", "`Rq`L-1`Rw`L99999999999`Rv");
         write("DefaultFilter", "a");
       },
       3, {{"a", "`Rq`L-1`Rw`L99999999999`Rv"}}, {{0, "q"}}, "0,1,2,"},
      {[&] { write("Order", "1,0,"); }, 40, {{"a", "`Rq`L-1`Rw`L99999999999`Rv"}},
       {{0, "q"}}, "1,0,"},  // no order kept for 40 columns
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.columns);
    test.edit();
    MakeList(test.columns, "parts", true);
    EXPECT_EQ(test.saved, Saved(list_->GetSavedFilters().begin(), list_->GetSavedFilters().end()));
    EXPECT_EQ(test.filters, PatternsOf(*list_));
    delete list_;
    EXPECT_EQ(test.order_written, Profile("Order"));
  }
  // An unregistered list refuses to save and writes nothing.
  WriteProfileString("CListCtrl_", nullptr, nullptr);
  MakeList(3);
  list_->SetFilterText(0, "a");
  DialogScript script({{"name"}});
  list_->SaveFilter();
  EXPECT_EQ(std::vector<std::string>{"Save Error|This list is not registered for filter saving"},
            script.shown);
  delete list_;
  EXPECT_EQ("(none)", GetProfileString("CListCtrl_", "Order", "(none)"));
}

}  // namespace
