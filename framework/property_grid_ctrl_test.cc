#include "framework/property_grid_ctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "framework/property_grid_property.h"
#include "tests/gui/gui_test_runner.h"

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
  void TearDown() override { frame_->Destroy(); }
  void Record(const char* what, wxPGProperty* prop) {
    events_.push_back(what + prop->GetLabel() + "=" + prop->GetValueAsString());
    for (auto* row : watched_)
      events_.push_back(row->GetLabel() + (grid_->IsPropertyShown(row) ? " shown" : " hidden"));
  }

  CZORMPropertyGridProperty* Add(const char* name, const wxVariant& value) {
    auto* prop = new CZORMPropertyGridProperty(name, value);
    grid_->AddProperty(prop);
    return prop;
  }

  wxFrame* frame_ = nullptr;
  CZORMPropertyGridCtrl* grid_ = nullptr;
  std::vector<wxString> events_;
  std::vector<wxPGProperty*> watched_;
};

TEST_F(PropertyGridCtrlTest, RevertIfEmptyBringsTheOriginalValueBack) {
  const std::tuple<const char*, bool, std::vector<wxString>, wxString> cases[] = {
      // original value, revert if empty, edits, then value|modified|changes heard of
      {"C:\\Upgrade", true, {""}, "C:\\Upgrade|0|0"},
      {"abc", true, {"def", ""}, "abc|0|1"},
      {"", true, {"x", ""}, "|1|2"},
      {"abc", false, {""}, "|1|1"},
  };
  for (const auto& [original, revert_if_empty, edits, outcome] : cases) {
    auto* prop = Add("P", Text(original));
    prop->SetRevertIfEmpty(revert_if_empty);
    events_.clear();
    for (const wxString& text : edits) {
      ASSERT_TRUE(grid_->SelectProperty(prop, true));
      static_cast<wxTextCtrl*>(grid_->GetEditorControl())->SetValue(text);
      grid_->CommitChangesFromEditor();  // as a user who leaves the row
    }
    // Each change is heard of twice: by the parent, then by the owner.
    EXPECT_EQ(outcome,
              wxString::Format("%s|%d|%zu", prop->GetValueAsString(),
                               prop->HasFlag(wxPG_PROP_MODIFIED) != 0, events_.size() / 2));
    EXPECT_EQ(prop->GetValueAsString(),
              static_cast<wxTextCtrl*>(grid_->GetEditorControl())->GetValue());
    EXPECT_EQ(original, prop->GetOriginalValue().GetString());
    grid_->DeleteProperty(prop);
  }
}

TEST_F(PropertyGridCtrlTest, BooleanShowsAndHidesItsDependents) {
  auto* custom = Add("Custom folder", wxVariant(true));
  auto* folder = Add("Folder", Text("/opt/abc"));
  auto* other = Add("Other", Text("x"));
  auto* owner = Add("Owner", Text("op"));
  custom->AddDependent(folder);
  custom->AddDependent(owner);
  watched_ = {folder, owner};
  grid_->SetSplitterPosition(60);  // as if the user had dragged the divider

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
  EXPECT_EQ(180, grid_->GetSplitterPosition()) << "the name column is back at its width";
}

}  // namespace
