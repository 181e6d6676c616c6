#include "framework/property_grid_property.h"

#include <gtest/gtest.h>
#include <wx/propgrid/propgrid.h>

TEST(PropertyGridPropertyTest, TextAndBooleanValuesConvertAndBooleansAreChosen) {
  const struct Case {
    wxVariant value;
    wxString text_in;
    bool changes;
    wxString text_out;
    int choice;  // the selected choice of False and True; -1: not a choice
  } cases[] = {
      {wxVariant(wxString("old")), "new", true, "new", -1},
      {wxVariant(wxString("same")), "same", false, "same", -1},
      {wxVariant(wxString("x")), "", true, "", -1},
      {wxVariant(false), "true", true, "True", 0},
      {wxVariant(true), "False", true, "False", 1},
      {wxVariant(true), "True", false, "True", 1},
  };
  for (const Case& c : cases) {
    CZORMPropertyGridProperty prop("P", c.value);
    EXPECT_EQ(c.choice, prop.GetChoiceSelection()) << c.text_in;
    EXPECT_EQ(c.choice >= 0, prop.DoGetEditorClass() == wxPGEditor_Choice) << c.text_in;
    wxVariant variant = prop.GetValue();
    EXPECT_EQ(c.changes, prop.StringToValue(variant, c.text_in)) << c.text_in;
    EXPECT_EQ(c.text_out, prop.ValueToString(variant)) << c.text_in;
  }
  CZORMPropertyGridProperty boolean("Custom folder", wxVariant(true));
  EXPECT_EQ("False|True", wxJoin(boolean.GetChoices().GetLabels(), '|'));
  wxVariant variant = boolean.GetValue();
  EXPECT_TRUE(boolean.IntToValue(variant, 0));
  EXPECT_FALSE(variant.GetBool());
}
