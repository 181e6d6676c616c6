#include "framework/property_grid_property.h"

#include <gtest/gtest.h>
#include <wx/propgrid/propgrid.h>

namespace {

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

}  // namespace
