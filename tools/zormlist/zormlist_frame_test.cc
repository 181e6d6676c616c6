#include "tools/zormlist/zormlist_frame.h"

#include <gtest/gtest.h>

#include "listctrl/filter_bar.h"
#include "tests/gui/dialog_script.h"
#include "tests/support/test_env.h"

namespace {

// Opens the sample and returns the texts of its filter boxes, then the parts it shows.
std::vector<std::string> OpenSample(CZormListFrame** frame) {
  const std::string path = std::string(getenv("ZORM_SOURCE_DIR")) + "/tools/zormlist/sample-parts.txt";
  ListFile file;
  EXPECT_TRUE(ReadListFile(path, &file).ok());
  *frame = new CZormListFrame(path, std::move(file));
  CListFileCtrl& list = (*frame)->GetList();
  std::vector<std::string> shown(5);
  for (int column = 0; column < 5; ++column) list.GetFilterBar()->GetText(column, &shown[column]);
  for (long item = 0; item < list.GetItemCount(); ++item) shown.push_back(list.GetItemText(item, 0).utf8_string());
  return shown;
}

TEST(ZormListFrameTest, RowsFollowTheFiltersWhichSurviveClosingAndReopening) {
  ScopedTestHome home;
  CZormListFrame* frame = nullptr;
  EXPECT_EQ(5u + 25u, OpenSample(&frame).size());
  frame->GetList().SetFilterText(0, "@(EL|PN)-*");
  frame->GetList().SetFilterText(3, "?(1)?");
  DialogScript script({{"mine"}, {"", "mine"}});  // saved, then made the default
  frame->GetList().SaveFilter();
  frame->GetList().RestoreFilter();
  frame->GetList().ClearFilters();  // the default comes back, not the last filters
  delete frame;
  const std::vector<std::string> shown = {"@(EL|PN)-*", "", "", "?(1)?", "", "EL-3004", "PN-6003"};
  EXPECT_EQ(shown, OpenSample(&frame));  // quantities 18 and 12
  delete frame;
}

}  // namespace
