#include "framework/property_grid_property.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/propgrid/propgrid.h>

#include "framework/property_grid_ctrl.h"

namespace {

TEST(PropertyGridPropertyTest, ValueRowStartsWithItsDefaults) {
  CZORMPropertyGridProperty prop("Module", wxVariant(wxString("ABC")), "Module name", 7);
  EXPECT_EQ("Module", prop.GetLabel());
  EXPECT_EQ("Module", prop.GetName());
  EXPECT_EQ("ABC", prop.GetValue().GetString());
  EXPECT_EQ("ABC", prop.GetValueAsString());
  EXPECT_EQ("Module name", prop.GetDescription());
  EXPECT_EQ(7u, prop.GetData());
  EXPECT_FALSE(prop.IsGroup());
  EXPECT_FALSE(prop.IsCategory());
  EXPECT_TRUE(prop.IsAllowEdit());
  EXPECT_EQ(0, prop.m_dwEditStyle);
  EXPECT_TRUE(prop.m_dependents.empty());
  EXPECT_EQ(*wxBLACK, prop.m_clrText);
  EXPECT_EQ(*wxWHITE, prop.m_clrBack);
  EXPECT_FALSE(prop.m_bRevertIfEmpty);
  EXPECT_EQ(0x7FFFFFFF, prop.m_nMaxLength);
  EXPECT_EQ("ABC", prop.GetOriginalValue().GetString());
  // The description is kept, never shown: wxPropertyGrid shows help strings.
  EXPECT_TRUE(prop.GetHelpString().empty());
}

TEST(PropertyGridPropertyTest, GroupIsACategoryWithAnEmptyValue) {
  CZORMPropertyGridProperty group("Old Version", 3, true);
  EXPECT_EQ("Old Version", group.GetLabel());
  EXPECT_TRUE(group.IsGroup());
  EXPECT_TRUE(group.IsCategory());
  EXPECT_TRUE(group.IsValueList());
  EXPECT_EQ(3u, group.GetData());
  EXPECT_EQ("", group.GetValueAsString());
}

TEST(PropertyGridPropertyTest, TextAndBooleanValuesConvert) {
  struct Case {
    wxVariant value;
    wxString text_in;
    bool changes;
    wxString text_out;
  };
  const Case cases[] = {
      {wxVariant(wxString("old")), "new", true, "new"},
      {wxVariant(wxString("same")), "same", false, "same"},
      {wxVariant(wxString("x")), "", true, ""},
      {wxVariant(false), "True", true, "True"},
      {wxVariant(false), "true", true, "True"},
      {wxVariant(true), "False", true, "False"},
      {wxVariant(true), "True", false, "True"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text_in);
    CZORMPropertyGridProperty prop("P", c.value);
    wxVariant variant = prop.GetValue();
    EXPECT_EQ(c.changes, prop.StringToValue(variant, c.text_in));
    EXPECT_EQ(c.text_out, prop.ValueToString(variant));
  }
}

TEST(PropertyGridPropertyTest, BooleanOffersFalseAndTrueChoices) {
  CZORMPropertyGridProperty prop("Custom folder", wxVariant(true));
  ASSERT_EQ(2u, prop.GetChoices().GetCount());
  EXPECT_EQ("False", prop.GetChoices().GetLabel(0));
  EXPECT_EQ("True", prop.GetChoices().GetLabel(1));
  EXPECT_EQ(1, prop.GetChoiceSelection());
  wxVariant variant = prop.GetValue();
  EXPECT_TRUE(prop.IntToValue(variant, 0));
  EXPECT_FALSE(variant.GetBool());
  EXPECT_EQ(wxPGEditor_Choice, prop.DoGetEditorClass());

  CZORMPropertyGridProperty text("Name", wxVariant(wxString("x")));
  EXPECT_EQ(-1, text.GetChoiceSelection());
  EXPECT_NE(wxPGEditor_Choice, text.DoGetEditorClass());
}

TEST(PropertyGridPropertyTest, ProgramSetValueMovesTheOriginalValue) {
  CZORMPropertyGridProperty prop("P", wxVariant(wxString("first")));
  prop.SetValue(wxString("second"));
  EXPECT_EQ("second", prop.GetOriginalValue().GetString());
}

TEST(PropertyGridPropertyTest, AddSubItemRefusesNullSelfAndParentedChildren) {
  CZORMPropertyGridProperty group("Group");
  EXPECT_FALSE(group.AddSubItem(nullptr));
  EXPECT_FALSE(group.AddSubItem(&group));
  // A group that never enters a grid still deletes the children it took.
  auto* child = new CZORMPropertyGridProperty("Child", wxVariant(wxString("c")));
  EXPECT_TRUE(group.AddSubItem(child));
}

}  // namespace
