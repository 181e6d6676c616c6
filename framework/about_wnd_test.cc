#include "framework/about_wnd.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/uiaction.h>

#include "framework/win_app.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

// The About window of the running application, popped up at the top left of the
// screen with a logo larger than its place, red with a blue top-left corner.
class AboutWndTest : public testing::Test {
 protected:
  void SetUp() override {
    app_.m_strAppTitle = "Calvaro Upgrade Utility";
    app_.m_strBuildDate = "Jul  5 2021";
    app_.m_bmpAbout = wxBitmap(300, 80);
    wxMemoryDC dc(app_.m_bmpAbout);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    dc.SetBrush(*wxBLUE_BRUSH);
    dc.DrawRectangle(0, 0, 10, 10);
    dc.SelectObject(wxNullBitmap);
    window_ = new CZORMAboutWnd(&app_);
  }
  void PopupAndWait() {
    window_->Popup();
    ASSERT_TRUE(WaitFor([&] { return window_->IsShownOnScreen(); }));
    window_->Raise();  // without a window manager the focus moves only once it is mapped
    Settle();
  }
  void TearDown() override {
    window_->Destroy();
    app_.m_bmpAbout = wxBitmap();
  }

  CZORMWinApp& app_ = *static_cast<CZORMWinApp*>(wxTheApp);
  CZORMAboutWnd* window_ = nullptr;
};

TEST_F(AboutWndTest, PaintsFrameTextsAndTheTopLeftOfTheLogo) {
  EXPECT_EQ("About Calvaro Upgrade Utility", window_->GetTitle());
  PopupAndWait();
  ScopedTestHome home;
  const wxImage shot = Screenshot(home.path() + "/about.png");
  ASSERT_TRUE(shot.IsOk());
  // Each area in screen pixels: dark pixels counted, or the colour of its top-left.
  const struct Case {
    const char* what;
    wxRect area;
    int colour;  // 0xRRGGBB, or -1 for "has text", -2 for "has none"
  } cases[] = {
      {"frame, top-left", {0, 0, 1, 1}, 0x000000},
      {"frame, bottom-right", {399, 249, 1, 1}, 0},
      {"logo's top-left", {192, 32, 1, 1}, 0x0000FF},
      {"logo's last pixel", {389, 79, 1, 1}, 0xFF0000},
      {"right of the logo", {391, 60, 1, 1}, 0xFFFFFF},
      {"below the logo", {300, 81, 1, 1}, 0xFFFFFF},
      {"title", {10, 10, 170, 16}, -1},
      {"build date after \"Compiled: \"", {90, 50, 90, 16}, -1},
      {"Warning:", {10, 100, 70, 16}, -1},
      {"blank warning lines", {10, 120, 380, 125}, -2},
      {"left margin", {1, 1, 8, 248}, -2},
  };
  for (const Case& c : cases) {
    int dark = 0;
    for (int y = c.area.y; y <= c.area.GetBottom(); ++y)
      for (int x = c.area.x; x <= c.area.GetRight(); ++x)
        dark += shot.GetRed(x, y) < 100 && shot.GetGreen(x, y) < 100 && shot.GetBlue(x, y) < 100;
    const int x = c.area.x, y = c.area.y;
    if (c.colour >= 0)
      EXPECT_EQ(c.colour, shot.GetRed(x, y) << 16 | shot.GetGreen(x, y) << 8 | shot.GetBlue(x, y))
          << c.what;
    else
      EXPECT_EQ(c.colour == -1, dark > 20) << c.what;
  }
}

TEST_F(AboutWndTest, EscapeOrAClickHidesIt) {
  for (int button : {0, int(wxMOUSE_BTN_RIGHT)}) {
    PopupAndWait();
    wxUIActionSimulator sim;
    sim.MouseMove(window_->ClientToScreen(wxPoint(200, 200)));
    wxYield();
    button ? sim.MouseClick(button) : sim.Char(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !window_->IsShown(); })) << button;
    EXPECT_EQ(0, window_->m_bShown);
  }
}

}  // namespace
