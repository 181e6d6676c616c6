#include "tools/zormlist/zormlist_frame.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "listctrl/filter_bar.h"
#include "platform/profile.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

CZormListFrame* OpenSample() {
  const std::string path = std::string(std::getenv("ZORM_SOURCE_DIR")) + "/tools/zormlist/sample-parts.txt";
  ListFile file;
  EXPECT_TRUE(ReadListFile(path, &file).ok());
  auto* frame = new CZormListFrame(path, std::move(file));
  frame->Show();
  Settle();
  return frame;
}

std::vector<std::string> ShownParts(CZormListFrame* frame) {
  std::vector<std::string> parts;
  for (long item = 0; item < frame->GetList().GetItemCount(); ++item)
    parts.push_back(frame->GetList().GetItemText(item, 0).utf8_string());
  return parts;
}

TEST(ZormListFrameTest, RowsFollowTheFiltersWhichSurviveClosingAndReopening) {
  ScopedTestHome home;
  SetProfileApplicationName("zormlist");
  const struct Case {
    std::map<int, std::string> filters;
    std::vector<std::string> parts;
  } kCases[] = {
      {{{0, "CV*"}}, {"CV-2001", "CV-2002", "CV-2003", "CV-2004"}},
      {{{0, "@(EL|PN)-*"}, {3, "?(1)?"}}, {"EL-3004", "PN-6003"}},  // 18 and 12
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.filters.begin()->second);
    CZormListFrame* frame = OpenSample();
    for (const auto& [column, pattern] : test.filters) frame->GetList().SetFilterText(column, pattern);
    EXPECT_EQ(test.parts, ShownParts(frame));
    {
      DialogScript script({{"mine"}, {"", "mine"}});  // saved, then made the default
      frame->GetList().SaveFilter();
      frame->GetList().RestoreFilter();
    }
    delete frame;

    frame = OpenSample();
    EXPECT_EQ(test.parts, ShownParts(frame));
    for (int column = 0; column < 5; ++column) {
      std::string text;
      ASSERT_TRUE(frame->GetList().GetFilterBar()->GetText(column, &text));
      EXPECT_EQ(test.filters.count(column) ? test.filters.at(column) : "", text);
    }
    frame->GetList().ClearFilters();
    EXPECT_EQ(25u, ShownParts(frame).size());
    delete frame;
  }
}

}  // namespace
