#include "framework/about_wnd.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/uiaction.h>

#include "framework/win_app.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

// The About window of the running application at the top left of the screen, with
// a logo larger than its place: red with a blue top-left corner.
TEST(AboutWndTest, ShowsFrameTextsAndTheLogosTopLeftUntilEscape) {
  CZORMWinApp& app = *static_cast<CZORMWinApp*>(wxTheApp);
  app.m_strAppTitle = "Calvaro Upgrade Utility";
  app.m_strBuildDate = "Jul  5 2021";
  app.m_bmpAbout = wxBitmap(300, 80);
  {
    wxMemoryDC dc(app.m_bmpAbout);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    dc.SetBrush(*wxBLUE_BRUSH);
    dc.DrawRectangle(0, 0, 10, 10);
  }
  auto* window = new CZORMAboutWnd(&app);
  EXPECT_EQ("About Calvaro Upgrade Utility", window->GetTitle());
  window->Popup();
  ASSERT_TRUE(WaitFor([&] { return window->IsShownOnScreen(); }));
  window->Raise();  // without a window manager the focus moves only once it is mapped
  Settle();
  ScopedTestHome home;
  const wxImage shot = Screenshot(home.path() + "/about.png");
  ASSERT_TRUE(shot.IsOk());

  // Single pixels by colour (0xRRGGBB), larger areas by whether they hold text.
  const std::tuple<const char*, wxRect, int> cases[] = {
      // -1: has text, -2: has none
      {"frame, top-left", {0, 0, 1, 1}, 0x000000},
      {"frame, bottom-right", {399, 249, 1, 1}, 0x000000},
      {"logo's top-left", {192, 32, 1, 1}, 0x0000FF},
      {"logo's last pixel", {389, 79, 1, 1}, 0xFF0000},
      {"right of the logo", {390, 60, 1, 1}, 0xFFFFFF},
      {"below the logo", {300, 80, 1, 1}, 0xFFFFFF},
      {"title", {10, 10, 170, 16}, -1},
      {"build date after \"Compiled: \"", {90, 50, 90, 16}, -1},
      {"Warning:", {10, 100, 70, 16}, -1},
      {"blank warning lines", {10, 120, 380, 125}, -2},
      {"left margin", {1, 1, 8, 248}, -2},
  };
  for (const auto& [what, area, colour] : cases) {
    int dark = 0;
    for (int y = area.y; y <= area.GetBottom(); ++y)
      for (int x = area.x; x <= area.GetRight(); ++x)
        dark += shot.GetRed(x, y) < 100 && shot.GetGreen(x, y) < 100 && shot.GetBlue(x, y) < 100;
    const int x = area.x, y = area.y;
    if (colour >= 0)
      EXPECT_EQ(colour, shot.GetRed(x, y) << 16 | shot.GetGreen(x, y) << 8 | shot.GetBlue(x, y))
          << what;
    else
      EXPECT_EQ(colour == -1, dark > 20) << what;
  }

  wxUIActionSimulator sim;
  sim.MouseMove(window->ClientToScreen(wxPoint(200, 200)));
  wxYield();
  EXPECT_TRUE(window->IsShown()) << "moving the pointer over it keeps it";
  sim.Char(WXK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !window->IsShown(); }));
  window->Destroy();
  app.m_bmpAbout = wxBitmap();
}
