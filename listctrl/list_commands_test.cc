#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include "framework/menu_resource.h"
#include "listctrl/menu_prepare_event.h"
#include "listctrl/numbered_list_test.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/gui/popup_menu_driver.h"

namespace {

using View = CZORMListCtrl::View;

class ListCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
  }
  void TearDown() override { frame_->Destroy(); }
  NumberedList* MakeList(long rows, int columns = 3) {
    list_ = new NumberedList(frame_, wxLC_REPORT | wxLC_VIRTUAL, columns);
    list_->SetItemCount(rows);
    list_->SetFocus();
    Settle();
    return list_;
  }
  void Select(std::initializer_list<long> rows) {
    list_->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (long row : rows) list_->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }

  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
  NumberedList* list_ = nullptr;
};

TEST_F(ListCommandsTest, CtrlKeysSwitchViewsAndSelect) {
  MakeList(0);
  list_->SetView(View::kIcon);
  EXPECT_EQ(View::kReport, list_->GetView()) << "a virtual list shows its rows only in report view";
  list_->Destroy();
  list_ = new NumberedList(frame_, wxLC_REPORT);
  for (long row = 0; row < 4; ++row) list_->InsertItem(row, wxString::Format("Row %ld", row));
  list_->SetFocus();
  list_->SetView(View::kIcon);
  wxUIActionSimulator keys;
  for (View expected : {View::kSmallIcon, View::kList, View::kReport, View::kIcon}) {
    keys.Char('S', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return list_->GetView() == expected; })) << int(expected);
    wxRect placed;  // items are laid out for the view
    EXPECT_TRUE(list_->GetItemRect(3, placed) && placed.y + placed.x > 0) << int(expected);
  }
  list_->SetView(View::kReport);
  const struct Case {
    char key;
    int modifiers;
    std::vector<long> selected;
  } kCases[] = {{'I', wxMOD_CONTROL, {1, 3}}, {'A', wxMOD_NONE, {0, 2}}, {'A', wxMOD_CONTROL, {0, 1, 2, 3}}};
  for (const Case& test : kCases) {
    SCOPED_TRACE(testing::Message() << test.key << " " << test.modifiers);
    Select({0, 2});
    keys.Char(test.key, test.modifiers);
    Settle();
    EXPECT_EQ(test.selected, list_->GetSelectedRows());
  }
}

TEST_F(ListCommandsTest, SelectRandomAsksAgainUntilTheInputIsValid) {
  const std::string too_many =
      "Input Error|You can't select 30 random records, because there are only 25 records in total";
  const struct Case {
    long rows;
    std::vector<Answer> inputs;
    size_t selected;
    std::vector<std::string> messages;
  } kCases[] = {
      {25, {{"0"}, {"30"}, {"10%"}}, 2, {"Input Error|Number of items can not be zero", too_many}},
      {25, {}, 0, {}},  // cancelled: the earlier selection is gone too
      {0, {{"1"}}, 0, {"Input Error|There are no items in this list."}},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.rows);
    MakeList(test.rows);
    if (test.rows > 0) Select({3});
    DialogScript answers(test.inputs);
    list_->RunListCommand('r');
    EXPECT_EQ(test.selected, list_->GetSelectedRows().size());
    EXPECT_EQ(test.messages, answers.shown);
    list_->Destroy();
  }
}

TEST_F(ListCommandsTest, ContextMenuCarriesTheListMenuAndCopiesAColumn) {
  MakeList(4, 60);
  list_->SetListMenu(kListCommandsMenuResource);
  const wxEventType prepare = wxNewEventType();  // of the owner's choosing
  frame_->Bind(wxEventTypeTag<CZORMMenuPrepareEvent>(prepare), [](CZORMMenuPrepareEvent& event) {
    event.GetMenu()->Append(wxID_ANY, "Prepared");
  });
  int exported = 0;
  frame_->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++exported; }, MenuCommandId(kExportCommand));
  list_->SetContextMenu(kUpgradeListMenuResource, 0, nullptr, prepare);
  const struct Case {
    std::vector<std::string> path;
    std::string message;
    std::string clipboard;
  } kCases[] = {
      {{"Export"}, "", ""},
      {{"Copy Column", "Column 1"}, "Column Copied|2 items copied to clipboard.",
       "R1 C1WWWWWWWW\r\nR3 C1WWWWWWWWWWWWWWWWWWWWWW\r\n"},
      {{"Copy Column", "Column 56"}, "Column Copied|2 items copied to clipboard.", ""},
      {{"Copy Column", "Column 57"}, "", ""},  // its id lies past those the list acts on
  };
  wxUIActionSimulator keys;
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.path.back());
    Select({1, 3});
    DialogScript answers({});
    const ShownPopupMenu menu = DrivePopupMenu([&] { keys.Char(WXK_F10, wxMOD_SHIFT); }, test.path);
    Settle();
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ(list_->ClientToScreen(wxPoint(5, 5)), menu.origin);
    const std::vector<std::string> start(menu.items.begin(), menu.items.begin() + 5);
    EXPECT_EQ((std::vector<std::string>{"Export", "Prepared", "-", "Copy Column", "Copy Column/Column 0"}),
              start);
    EXPECT_NE(std::find(menu.items.begin(), menu.items.end(), "View/[x] Details"), menu.items.end());
    EXPECT_NE(std::find(menu.items.begin(), menu.items.end(), "View/Icons"), menu.items.end());
    EXPECT_EQ(test.message.empty() ? std::vector<std::string>{} : std::vector{test.message},
              answers.shown);
    if (!test.clipboard.empty()) {
      wxTextDataObject text;
      ASSERT_TRUE(wxTheClipboard->Open());
      wxTheClipboard->GetData(text);
      wxTheClipboard->Close();
      EXPECT_EQ(test.clipboard, text.GetText().utf8_string());
    }
  }
  EXPECT_EQ(1, exported);

  const struct Missing {
    unsigned menu, submenu;
    const char* message;
  } kMissing[] = {{999, 0, "Unable to load menu resource"}, {132, 1, "Unable to find submenu"}};
  for (const Missing& test : kMissing) {
    list_->SetContextMenu(test.menu, test.submenu);
    DialogScript answers({});
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, list_->GetId(), wxDefaultPosition);
    list_->GetEventHandler()->ProcessEvent(event);
    ASSERT_EQ(1u, answers.shown.size());
    EXPECT_NE(answers.shown[0].find(test.message), std::string::npos) << answers.shown[0];
  }
}

}  // namespace
