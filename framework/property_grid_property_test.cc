#include "framework/property_grid_property.h"

#include <gtest/gtest.h>
#include <wx/propgrid/propgrid.h>

TEST(PropertyGridPropertyTest, TextAndBooleanValuesConvert) {
  const struct Case {
    wxVariant value;
    wxString text_in;
    bool changes;
    wxString text_out;
  } cases[] = {
      {wxVariant(wxString("old")), "new", true, "new"},
      {wxVariant(wxString("same")), "same", false, "same"},
      {wxVariant(wxString("x")), "", true, ""},
      {wxVariant(false), "true", true, "True"},
      {wxVariant(true), "False", true, "False"},
      {wxVariant(true), "True", false, "True"},
  };
  for (const Case& c : cases) {
    CZORMPropertyGridProperty prop("P", c.value);
    wxVariant variant = prop.GetValue();
    EXPECT_EQ(c.changes, prop.StringToValue(variant, c.text_in)) << c.text_in;
    EXPECT_EQ(c.text_out, prop.ValueToString(variant)) << c.text_in;
  }
}

TEST(PropertyGridPropertyTest, BooleanIsChosenFromFalseAndTrue) {
  CZORMPropertyGridProperty prop("Custom folder", wxVariant(true));
  EXPECT_EQ("False|True", wxJoin(prop.GetChoices().GetLabels(), '|'));
  EXPECT_EQ(1, prop.GetChoiceSelection());
  wxVariant variant = prop.GetValue();
  EXPECT_TRUE(prop.IntToValue(variant, 0));
  EXPECT_FALSE(variant.GetBool());
  EXPECT_EQ(wxPGEditor_Choice, prop.DoGetEditorClass());
  CZORMPropertyGridProperty text("Name", wxVariant(wxString("x")));
  EXPECT_EQ(-1, text.GetChoiceSelection());
  EXPECT_NE(wxPGEditor_Choice, text.DoGetEditorClass());
}
