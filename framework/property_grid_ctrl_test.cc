#include "framework/property_grid_ctrl.h"

#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/odcombo.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/property_grid_property.h"
#include "tests/gui/gui_helpers.h"

namespace {

const wxEventType kNotifyEvent = wxNewEventType();

wxVariant Text(const char* text) { return wxVariant(wxString(text)); }

class PropertyGridCtrlTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "Property grid", wxPoint(0, 0), wxSize(520, 320));
    grid_ = new CZORMPropertyGridCtrl(frame_, wxID_ANY);
    frame_->Bind(wxEventTypeTag<wxCommandEvent>(kNotifyEvent), [this](wxCommandEvent& event) {
      auto* prop = static_cast<wxPGProperty*>(event.GetClientData());
      events_.push_back("notify " + prop->GetLabel() + "=" + prop->GetValueAsString());
      for (auto* watched : watched_) events_.push_back(ShownText(watched));
    });
    grid_->Bind(wxEVT_PG_CHANGED, [this](wxPropertyGridEvent& event) {
      events_.push_back("changed " + event.GetProperty()->GetLabel() + "=" +
                        event.GetProperty()->GetValueAsString());
      for (auto* watched : watched_) events_.push_back(ShownText(watched));
    });
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return grid_->IsShownOnScreen(); }));
    frame_->Raise();
    Settle();
  }
  void TearDown() override {
    frame_->Destroy();
    wxYield();
  }

  wxString ShownText(wxPGProperty* prop) const {
    return prop->GetLabel() + (grid_->IsPropertyShown(prop) ? " shown" : " hidden");
  }

  CZORMPropertyGridProperty* AddText(const char* name, const char* value) {
    auto* prop = new CZORMPropertyGridProperty(name, Text(value), name);
    grid_->AddProperty(prop);
    return prop;
  }

  // Opens the row's editor, puts `text` in it and commits it, as a user who types
  // and then leaves the row does.
  void EditText(wxPGProperty* prop, const wxString& text) {
    ASSERT_TRUE(grid_->SelectProperty(prop, true));
    auto* editor = dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl());
    ASSERT_NE(nullptr, editor);
    editor->SetValue(text);
    wxYield();
    grid_->CommitChangesFromEditor();
    wxYield();
  }

  // Opens the row's editor and gives it the keyboard.
  wxTextCtrl* OpenEditorForKeys(wxPGProperty* prop) {
    if (!grid_->SelectProperty(prop, true)) return nullptr;
    auto* editor = dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl());
    if (!editor) return nullptr;
    editor->SetFocus();
    // Without a window manager the keyboard follows the pointer.
    simulator_.MouseMove(editor->GetScreenRect().GetLeftTop() + wxPoint(5, 5));
    Settle();
    return editor;
  }

  wxUIActionSimulator simulator_;
  wxFrame* frame_ = nullptr;
  CZORMPropertyGridCtrl* grid_ = nullptr;
  std::vector<wxString> events_;
  std::vector<wxPGProperty*> watched_;
};

TEST_F(PropertyGridCtrlTest, NameColumnReturnsTo180AfterEachLayout) {
  AddText("URL", "/srv/abc.msi");
  struct Case {
    const char* what;
    std::function<void()> layout;
  };
  const Case cases[] = {
      {"resize", [&] { frame_->SetSize(wxSize(640, 360)); }},
      {"added row", [&] { AddText("Module", "ABC"); }},
      {"resize back", [&] { frame_->SetSize(wxSize(500, 300)); }},
  };
  EXPECT_EQ(180, grid_->GetSplitterPosition());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // As if the user had dragged the divider.
    grid_->SetSplitterPosition(60);
    Settle();
    ASSERT_EQ(60, grid_->GetSplitterPosition());
    c.layout();
    Settle();
    EXPECT_EQ(180, grid_->GetSplitterPosition());
  }
}

TEST_F(PropertyGridCtrlTest, TwoStepCreationGivesTheSameGrid) {
  auto* grid = new CZORMPropertyGridCtrl();
  ASSERT_TRUE(grid->Create(frame_, wxID_ANY, wxPoint(0, 200), wxSize(400, 80)));
  EXPECT_TRUE(grid->HasFlag(wxPG_BOLD_MODIFIED));
  EXPECT_FALSE(grid->HasFlag(wxPG_ALPHABETIC_MODE));
  grid->AddProperty(new CZORMPropertyGridProperty("URL", Text("/srv/abc.msi")));
  grid->SetSplitterPosition(50);
  grid->SetSize(wxSize(450, 80));
  Settle();
  EXPECT_EQ(180, grid->GetSplitterPosition());
}

TEST_F(PropertyGridCtrlTest, NameColumnFollowsItsSetting) {
  grid_->SetNameWidth(120);
  AddText("URL", "/srv/abc.msi");
  Settle();
  EXPECT_EQ(120, grid_->GetSplitterPosition());
}

TEST_F(PropertyGridCtrlTest, SummaryTreeKeepsGroupsAndOrder) {
  auto* url = new CZORMPropertyGridProperty("URL", Text("/srv/abc.msi"), "Download URL");
  url->AllowEdit(false);
  EXPECT_EQ(0, grid_->AddProperty(url));
  // One group filled before it enters the grid, one after.
  auto* old_version = new CZORMPropertyGridProperty("Old Version");
  EXPECT_TRUE(old_version->AddSubItem(
      new CZORMPropertyGridProperty("Built", Text("Monday, July 05, 2021"), "Date Built")));
  EXPECT_TRUE(old_version->AddSubItem(new CZORMPropertyGridProperty("Age", Text("12 days ago"))));
  EXPECT_EQ(1, grid_->AddProperty(old_version));
  auto* options = new CZORMPropertyGridProperty("Install Options");
  EXPECT_EQ(2, grid_->AddProperty(options));
  EXPECT_TRUE(options->AddSubItem(new CZORMPropertyGridProperty("MSI Properties", Text(""))));
  // A value row added after the groups stays at the top level.
  auto* notes = new CZORMPropertyGridProperty("Notes", Text("n"));
  EXPECT_EQ(3, grid_->AddProperty(notes));
  EXPECT_EQ(grid_->GetRoot(), notes->GetParent());
  // A row can be added only once.
  EXPECT_EQ(-1, grid_->AddProperty(url));
  EXPECT_FALSE(options->AddSubItem(url));

  std::vector<wxString> rows;
  for (wxPropertyGridIterator it = grid_->GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it) {
    wxPGProperty* p = *it;
    rows.push_back((p->IsCategory() ? "[" + p->GetLabel() + "]" : p->GetLabel()) + "=" +
                   p->GetValueAsString() + " depth " + wxString::Format("%u", p->GetDepth()));
  }
  const std::vector<wxString> expected = {
      "URL=/srv/abc.msi depth 1",
      "[Old Version]= depth 1",
      "Built=Monday, July 05, 2021 depth 1",
      "Age=12 days ago depth 1",
      "[Install Options]= depth 1",
      "MSI Properties= depth 1",
      "Notes=n depth 1",
  };
  EXPECT_EQ(expected, rows);
  EXPECT_EQ(old_version, grid_->GetPropertyByLabel("Built")->GetParent());
  EXPECT_EQ(options, grid_->GetPropertyByLabel("MSI Properties")->GetParent());
}

TEST_F(PropertyGridCtrlTest, RevertIfEmptyBringsTheOriginalValueBack) {
  struct Case {
    const char* what;
    const char* original;
    bool revert_if_empty;
    std::vector<wxString> edits;
    wxString final_value;
    bool modified;
    size_t notifications;
  };
  const Case cases[] = {
      {"cleared", "C:\\Upgrade", true, {""}, "C:\\Upgrade", false, 0},
      {"changed, then cleared", "abc", true, {"def", ""}, "abc", false, 1},
      {"empty from the start", "", true, {"x", ""}, "", true, 2},
      {"without the setting", "abc", false, {""}, "", true, 1},
  };
  grid_->SetNotifyMessage(kNotifyEvent);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* prop = AddText(c.what, c.original);
    prop->SetRevertIfEmpty(c.revert_if_empty);
    events_.clear();
    for (const wxString& text : c.edits) EditText(prop, text);
    EXPECT_EQ(c.final_value, prop->GetValueAsString());
    EXPECT_EQ(c.final_value, dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl())->GetValue());
    EXPECT_EQ(c.modified, prop->HasFlag(wxPG_PROP_MODIFIED) != 0);
    size_t notifications = 0, changes = 0;
    for (const wxString& event : events_) {
      notifications += event.StartsWith("notify");
      changes += event.StartsWith("changed");
    }
    EXPECT_EQ(c.notifications, notifications);
    EXPECT_EQ(c.notifications, changes);
    EXPECT_EQ(c.original, prop->GetOriginalValue().GetString());
  }
}

TEST_F(PropertyGridCtrlTest, RevertIfEmptyWorksFromTheKeyboard) {
  grid_->SetNotifyMessage(kNotifyEvent);
  auto* prop = AddText("Module", "ABC");
  prop->SetRevertIfEmpty(true);
  wxTextCtrl* editor = OpenEditorForKeys(prop);
  ASSERT_NE(nullptr, editor);
  editor->SelectAll();
  simulator_.Char(WXK_BACK);
  Settle();
  ASSERT_EQ("", editor->GetValue());
  simulator_.Char(WXK_RETURN);
  Settle();
  EXPECT_EQ("ABC", prop->GetValueAsString());
  EXPECT_EQ("ABC", editor->GetValue());
  EXPECT_TRUE(events_.empty());
}

TEST_F(PropertyGridCtrlTest, ParentHearsOfTheChangeBeforeTheOwner) {
  grid_->SetNotifyMessage(kNotifyEvent);
  auto* prop = AddText("MSI Properties", "");
  EditText(prop, "INSTALLDIR=/opt/abc");
  const std::vector<wxString> expected = {"notify MSI Properties=INSTALLDIR=/opt/abc",
                                          "changed MSI Properties=INSTALLDIR=/opt/abc"};
  EXPECT_EQ(expected, events_);
  // A changed value shows in bold, in the open editor too.
  EXPECT_TRUE(prop->HasFlag(wxPG_PROP_MODIFIED));
  EXPECT_TRUE(grid_->HasFlag(wxPG_BOLD_MODIFIED));
  EXPECT_EQ(wxFONTWEIGHT_BOLD, grid_->GetEditorControl()->GetFont().GetWeight());

  // Without a notify message only the owner hears of it.
  grid_->SetNotifyMessage(wxEVT_NULL);
  events_.clear();
  EditText(prop, "ALLUSERS=1");
  EXPECT_EQ(std::vector<wxString>{"changed MSI Properties=ALLUSERS=1"}, events_);
}

TEST_F(PropertyGridCtrlTest, BooleanShowsAndHidesItsDependents) {
  grid_->SetNotifyMessage(kNotifyEvent);
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

  events_.clear();
  ASSERT_TRUE(grid_->ChangePropertyValue(custom, wxVariant(true)));
  EXPECT_TRUE(grid_->IsPropertyShown(folder));
  EXPECT_TRUE(grid_->IsPropertyShown(owner));
  EXPECT_TRUE(grid_->IsPropertyShown(other));
  EXPECT_EQ(180, grid_->GetSplitterPosition());
}

TEST_F(PropertyGridCtrlTest, BooleanIsEditedWithATrueFalseChoice) {
  auto* custom = new CZORMPropertyGridProperty("Custom folder", wxVariant(true));
  grid_->AddProperty(custom);
  auto* folder = AddText("Folder", "/opt/abc");
  custom->AddDependent(folder);
  ASSERT_TRUE(grid_->SelectProperty(custom, true));
  auto* choice = dynamic_cast<wxOwnerDrawnComboBox*>(grid_->GetEditorControl());
  ASSERT_NE(nullptr, choice);
  ASSERT_EQ(2u, choice->GetCount());
  EXPECT_EQ("False", choice->GetString(0));
  EXPECT_EQ("True", choice->GetString(1));
  EXPECT_EQ(1, choice->GetSelection());

  // The user picks "False" from the list.
  choice->SetSelection(0);
  wxCommandEvent picked(wxEVT_COMBOBOX, choice->GetId());
  picked.SetEventObject(choice);
  picked.SetInt(0);
  choice->GetEventHandler()->ProcessEvent(picked);
  Settle();
  EXPECT_FALSE(custom->GetValue().GetBool());
  EXPECT_EQ("False", custom->GetValueAsString());
  EXPECT_FALSE(grid_->IsPropertyShown(folder));
}

TEST_F(PropertyGridCtrlTest, RowWithoutEditingOpensNoEditor) {
  struct Case {
    wxVariant value;
    bool allow;
    bool has_editor;
  };
  const Case cases[] = {
      {Text("/srv/abc.msi"), false, false},
      {Text("/srv/abc.msi"), true, true},
      {wxVariant(true), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.MakeString() + (c.allow ? " allowed" : " not allowed"));
    auto* prop = new CZORMPropertyGridProperty("URL", c.value);
    prop->AllowEdit(c.allow);
    grid_->AddProperty(prop);
    ASSERT_TRUE(grid_->SelectProperty(prop, true));
    EXPECT_EQ(c.has_editor, grid_->GetEditorControl() != nullptr);
    grid_->DeleteProperty(prop);
  }
}

TEST_F(PropertyGridCtrlTest, EditStyleMakesAPlainTextControlWithThatStyle) {
  auto* prop = AddText("Password", "secret");
  prop->SetEditStyle(wxTE_PASSWORD);
  ASSERT_TRUE(grid_->SelectProperty(prop, true));
  auto* editor = dynamic_cast<wxTextCtrl*>(grid_->GetEditorControl());
  ASSERT_NE(nullptr, editor);
  EXPECT_TRUE(editor->HasFlag(wxTE_PASSWORD));
  EXPECT_EQ("secret", editor->GetValue());
  EditText(prop, "changed");
  EXPECT_EQ("changed", prop->GetValueAsString());

  auto* plain = AddText("Plain", "x");
  ASSERT_TRUE(grid_->SelectProperty(plain, true));
  EXPECT_FALSE(grid_->GetEditorControl()->HasFlag(wxTE_PASSWORD));
}

TEST_F(PropertyGridCtrlTest, EditorAcceptsNoMoreThanTheLengthLimit) {
  struct Case {
    int max_length;
    wxString expected;
  };
  const Case cases[] = {
      {10, "abcdefghij"},
      {CZORMPropertyGridProperty::kNoMaxLength, "abcdefghijklmno"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max_length);
    auto* prop = AddText("Name", "");
    prop->SetMaxLength(c.max_length);
    wxTextCtrl* editor = OpenEditorForKeys(prop);
    ASSERT_NE(nullptr, editor);
    simulator_.Text("abcdefghijklmno");
    Settle();
    EXPECT_EQ(c.expected, editor->GetValue());
    simulator_.Char(WXK_RETURN);
    Settle();
    EXPECT_EQ(c.expected, prop->GetValueAsString());
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
  grid_->AddProperty(new CZORMPropertyGridProperty("MSI Properties", Text("")));
  grid_->Refresh();
  grid_->Update();
  Settle();

  const wxString path = wxFileName::GetTempDir() + "/property_grid_colours.png";
  wxImage screen = Screenshot(path.ToStdString());
  ASSERT_TRUE(screen.IsOk());
  std::printf("screenshot: %s\n", path.utf8_str().data());

  const wxPoint origin = grid_->GetScreenPosition();
  const int value_left = origin.x + grid_->GetSplitterPosition() + 4;
  const int value_right = origin.x + grid_->GetClientSize().x - 4;
  auto count = [&](wxPGProperty* prop, const std::function<bool(int, int, int)>& match) {
    const wxRect row = grid_->GetPropertyRect(prop, prop);
    int n = 0;
    for (int y = origin.y + row.y + 2; y < origin.y + row.GetBottom() - 1; ++y)
      for (int x = value_left; x < value_right; ++x)
        n += match(screen.GetRed(x, y), screen.GetGreen(x, y), screen.GetBlue(x, y));
    return std::make_pair(n, (row.height - 3) * (value_right - value_left));
  };
  auto is_back = [](int r, int g, int b) { return r == 0 && g == 96 && b == 200; };
  auto is_text = [](int r, int g, int b) { return r > 200 && g > 200 && b < 60; };
  auto is_white = [](int r, int g, int b) { return r == 255 && g == 255 && b == 255; };

  // The coloured cell is filled except where its text stands.
  auto [back, area] = count(coloured, is_back);
  EXPECT_GT(back, area * 3 / 4);
  EXPECT_GT(count(coloured, is_text).first, 20);
  EXPECT_EQ(0, count(plain, is_back).first);
  EXPECT_EQ(0, count(plain, is_text).first);
  EXPECT_GT(count(plain, is_white).first, area / 2);
}

}  // namespace
