#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/utils.h>

TEST(GuiHarnessTest, ShowsAWindowAndAnswersAModalMessageDialog) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Harness", wxDefaultPosition, wxSize(300, 200));
  frame->Show();
  for (int i = 0; i < 50 && !frame->IsShownOnScreen(); ++i) wxMilliSleep(10), wxYield();
  EXPECT_TRUE(frame->IsShownOnScreen());

  int answer = 0;
  wxTEST_DIALOG(answer = wxMessageDialog(frame, "Proceed?", "Question", wxYES_NO).ShowModal(),
                wxExpectModal<wxMessageDialog>(wxID_NO).Describe("the question"));
  EXPECT_EQ(wxID_NO, answer);

  frame->Destroy();
  wxYield();
}
