#include "framework/property_grid_ctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <functional>
#include <vector>

#include "framework/property_grid_property.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

const wxEventType kNotifyEvent = wxNewEventType();

wxVariant Text(const char* text) { return wxVariant(wxString(text)); }

// A grid in a shown frame that records, in order, what its parent and its owner hear
// of changes and which watched rows are shown at that moment.
class PropertyGridCtrlTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "Property grid", wxPoint(0, 0), wxSize(520, 320));
    grid_ = new CZORMPropertyGridCtrl(frame_, wxID_ANY);
    frame_->Bind(wxEventTypeTag<wxCommandEvent>(kNotifyEvent), [this](wxCommandEvent& event) {
      Record("notify ", static_cast<wxPGProperty*>(event.GetClientData()));
    });
    grid_->Bind(wxEVT_PG_CHANGED,
                [this](wxPropertyGridEvent& event) { Record("changed ", event.GetProperty()); });
    grid_->SetNotifyMessage(kNotifyEvent);
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return grid_->IsShownOnScreen(); }));
    frame_->Raise();
    Settle();
  }
  void TearDown() override {
    frame_->Destroy();
    wxYield();
  }
  void Record(const char* what, wxPGProperty* prop) {
    events_.push_back(what + prop->GetLabel() + "=" + prop->GetValueAsString());
    for (auto* row : watched_)
      events_.push_back(row->GetLabel() + (grid_->IsPropertyShown(row) ? " shown" : " hidden"));
  }

  CZORMPropertyGridProperty* AddText(const char* name, const char* value) {
    auto* prop = new CZORMPropertyGridProperty(name, Text(value), name);
    grid_->AddProperty(prop);
    return prop;
  }

  // Opens the row's editor and gives it the keyboard.
  wxTextCtrl* OpenEditor(wxPGProperty* prop) {
    if (!grid_->SelectProperty(prop, true)) return nullptr;
    auto* editor = dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl());
    if (!editor) return nullptr;
    editor->SetFocus();
    // Without a window manager the keyboard follows the pointer.
    simulator_.MouseMove(editor->GetScreenRect().GetLeftTop() + wxPoint(5, 5));
    Settle();
    return editor;
  }

  // Puts `text` in the row's editor and commits it, as a user who leaves the row.
  void EditText(wxPGProperty* prop, const wxString& text) {
    ASSERT_TRUE(grid_->SelectProperty(prop, true));
    auto* editor = dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl());
    ASSERT_NE(nullptr, editor);
    editor->SetValue(text);
    wxYield();
    grid_->CommitChangesFromEditor();
    wxYield();
  }

  wxUIActionSimulator simulator_;
  wxFrame* frame_ = nullptr;
  CZORMPropertyGridCtrl* grid_ = nullptr;
  std::vector<wxString> events_;
  std::vector<wxPGProperty*> watched_;
};

TEST_F(PropertyGridCtrlTest, NameColumnReturnsToItsWidthAfterEachLayout) {
  AddText("URL", "/srv/abc.msi");
  struct Case {
    const char* what;
    std::function<void()> layout;
    int width;
  };
  const Case cases[] = {
      {"resize", [&] { frame_->SetSize(wxSize(640, 360)); }, 180},
      {"added row", [&] { AddText("Module", "ABC"); }, 180},
      {"own width", [&] { grid_->SetNameWidth(120); AddText("Age", "1"); }, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    grid_->SetSplitterPosition(60);  // as if the user had dragged the divider
    Settle();
    c.layout();
    Settle();
    EXPECT_EQ(c.width, grid_->GetSplitterPosition());
  }
}

TEST_F(PropertyGridCtrlTest, SummaryTreeKeepsGroupsAndOrder) {
  auto* url = new CZORMPropertyGridProperty("URL", Text("/srv/abc.msi"));
  EXPECT_EQ(0, grid_->AddProperty(url));
  // One group filled before it enters the grid, one after.
  auto* old_version = new CZORMPropertyGridProperty("Old Version");
  EXPECT_TRUE(old_version->AddSubItem(new CZORMPropertyGridProperty("Built", Text("July 05"))));
  EXPECT_TRUE(old_version->AddSubItem(new CZORMPropertyGridProperty("Age", Text("12 days"))));
  EXPECT_EQ(1, grid_->AddProperty(old_version));
  auto* options = new CZORMPropertyGridProperty("Install Options");
  EXPECT_EQ(2, grid_->AddProperty(options));
  EXPECT_TRUE(options->AddSubItem(new CZORMPropertyGridProperty("MSI Properties", Text(""))));
  EXPECT_EQ(3, grid_->AddProperty(new CZORMPropertyGridProperty("Notes", Text("n"))));
  // A row can be added only once.
  EXPECT_EQ(-1, grid_->AddProperty(url));
  EXPECT_FALSE(options->AddSubItem(url));

  std::vector<wxString> rows;
  for (wxPropertyGridIterator it = grid_->GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it) {
    wxPGProperty* p = *it;
    rows.push_back((p->IsCategory() ? "[" + p->GetLabel() + "]" : p->GetLabel()) + "=" +
                   p->GetValueAsString() +
                   (p->GetParent() == grid_->GetRoot() ? "" : " in " + p->GetParent()->GetLabel()));
  }
  const std::vector<wxString> expected = {
      "URL=/srv/abc.msi", "[Old Version]=", "Built=July 05 in Old Version",
      "Age=12 days in Old Version", "[Install Options]=", "MSI Properties= in Install Options",
      "Notes=n",
  };
  EXPECT_EQ(expected, rows);
}

TEST_F(PropertyGridCtrlTest, RevertIfEmptyBringsTheOriginalValueBack) {
  struct Case {
    const char* what;
    const char* original;
    bool revert_if_empty;
    std::vector<wxString> edits;
    wxString final_value;
    bool modified;
    size_t changes;
  };
  const Case cases[] = {
      {"cleared", "C:\\Upgrade", true, {""}, "C:\\Upgrade", false, 0},
      {"changed, then cleared", "abc", true, {"def", ""}, "abc", false, 1},
      {"empty from the start", "", true, {"x", ""}, "", true, 2},
      {"without the setting", "abc", false, {""}, "", true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* prop = AddText(c.what, c.original);
    prop->SetRevertIfEmpty(c.revert_if_empty);
    events_.clear();
    for (const wxString& text : c.edits) EditText(prop, text);
    EXPECT_EQ(c.final_value, prop->GetValueAsString());
    EXPECT_EQ(c.final_value, dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl())->GetValue());
    EXPECT_EQ(c.modified, prop->HasFlag(wxPG_PROP_MODIFIED) != 0);
    EXPECT_EQ(2 * c.changes, events_.size()) << "each change: the parent, then the owner";
    EXPECT_EQ(c.original, prop->GetOriginalValue().GetString());
  }
}

TEST_F(PropertyGridCtrlTest, ParentHearsOfTheChangeBeforeTheOwner) {
  auto* prop = AddText("MSI Properties", "");
  EditText(prop, "INSTALLDIR=/opt/abc");
  const std::vector<wxString> expected = {"notify MSI Properties=INSTALLDIR=/opt/abc",
                                          "changed MSI Properties=INSTALLDIR=/opt/abc"};
  EXPECT_EQ(expected, events_);
  // A changed value shows in bold, in the open editor too.
  EXPECT_TRUE(prop->HasFlag(wxPG_PROP_MODIFIED));
  EXPECT_EQ(wxFONTWEIGHT_BOLD, grid_->GetEditorControl()->GetFont().GetWeight());

  // Without a notify message only the owner hears of it.
  grid_->SetNotifyMessage(wxEVT_NULL);
  events_.clear();
  EditText(prop, "ALLUSERS=1");
  EXPECT_EQ(std::vector<wxString>{"changed MSI Properties=ALLUSERS=1"}, events_);
}

TEST_F(PropertyGridCtrlTest, BooleanShowsAndHidesItsDependents) {
  auto* custom = new CZORMPropertyGridProperty("Custom folder", wxVariant(true));
  grid_->AddProperty(custom);
  auto* folder = AddText("Folder", "/opt/abc");
  auto* other = AddText("Other", "x");
  auto* owner = AddText("Owner", "op");
  custom->AddDependent(folder);
  custom->AddDependent(owner);
  watched_ = {folder, owner};

  ASSERT_TRUE(grid_->ChangePropertyValue(custom, wxVariant(false)));
  // The parent is told before the dependents change, the owner after.
  const std::vector<wxString> off = {
      "notify Custom folder=False",  "Folder shown",  "Owner shown",
      "changed Custom folder=False", "Folder hidden", "Owner hidden",
  };
  EXPECT_EQ(off, events_);
  EXPECT_TRUE(grid_->IsPropertyShown(other));

  ASSERT_TRUE(grid_->ChangePropertyValue(custom, wxVariant(true)));
  EXPECT_TRUE(grid_->IsPropertyShown(folder) && grid_->IsPropertyShown(owner));
  EXPECT_EQ(180, grid_->GetSplitterPosition());
}

TEST_F(PropertyGridCtrlTest, EditorFollowsTheRowsSettings) {
  struct Case {
    const char* what;
    wxVariant value;
    bool allow;
    long style;
    int max_length;
    bool has_editor;
    wxString typed;  // after typing "abcdefghijklmno"
  };
  const Case cases[] = {
      {"not editable", Text(""), false, 0, 10, false, ""},
      {"boolean, not editable", wxVariant(true), false, 0, 10, false, ""},
      {"limited", Text(""), true, 0, 10, true, "abcdefghij"},
      {"no limit", Text(""), true, 0, CZORMPropertyGridProperty::kNoMaxLength, true,
       "abcdefghijklmno"},
      {"password", Text(""), true, wxTE_PASSWORD, 12, true, "abcdefghijkl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* prop = new CZORMPropertyGridProperty("Name", c.value);
    prop->AllowEdit(c.allow);
    prop->SetEditStyle(c.style);
    prop->SetMaxLength(c.max_length);
    grid_->AddProperty(prop);
    ASSERT_TRUE(grid_->SelectProperty(prop, true));
    EXPECT_EQ(c.has_editor, grid_->GetEditorControl() != nullptr);
    if (wxTextCtrl* editor = c.has_editor ? OpenEditor(prop) : nullptr) {
      EXPECT_EQ(c.style != 0, editor->HasFlag(wxTE_PASSWORD));
      simulator_.Text("abcdefghijklmno");
      simulator_.Char(WXK_RETURN);
      Settle();
      EXPECT_EQ(c.typed, prop->GetValueAsString());
    }
    grid_->DeleteProperty(prop);
  }
}

TEST_F(PropertyGridCtrlTest, ValueCellIsPaintedInTheRowsColours) {
  auto* group = new CZORMPropertyGridProperty("Old Version");
  grid_->AddProperty(group);
  auto* plain = new CZORMPropertyGridProperty("Built", Text("Monday, July 05, 2021"));
  auto* coloured = new CZORMPropertyGridProperty("Age", Text("WWWWWWWW"));
  coloured->SetValueBackColour(wxColour(0, 96, 200));
  coloured->SetValueTextColour(wxColour(255, 255, 0));
  group->AddSubItem(plain);
  group->AddSubItem(coloured);
  grid_->Refresh();
  grid_->Update();
  Settle();
  ScopedTestHome home;
  wxImage screen = Screenshot(home.path() + "/property_grid.png");
  ASSERT_TRUE(screen.IsOk());

  const wxPoint origin = grid_->GetScreenPosition();
  const int left = origin.x + grid_->GetSplitterPosition() + 4;
  const int right = origin.x + grid_->GetClientSize().x - 4;
  const auto count = [&](wxPGProperty* prop, uint32_t rgb) {
    const wxRect row = grid_->GetPropertyRect(prop, prop);
    int n = 0;
    for (int y = origin.y + row.y + 2; y < origin.y + row.GetBottom() - 1; ++y)
      for (int x = left; x < right; ++x)
        n += (screen.GetRed(x, y) << 16 | screen.GetGreen(x, y) << 8 | screen.GetBlue(x, y)) == rgb;
    return n;
  };
  const int area = (grid_->GetPropertyRect(plain, plain).height - 3) * (right - left);
  // The coloured cell is filled except where its text stands.
  EXPECT_GT(count(coloured, 0x0060C8), area * 3 / 4);
  EXPECT_GT(count(coloured, 0xFFFF00), 20);
  EXPECT_EQ(0, count(plain, 0x0060C8) + count(plain, 0xFFFF00));
  EXPECT_GT(count(plain, 0xFFFFFF), area / 2);
}

}  // namespace
