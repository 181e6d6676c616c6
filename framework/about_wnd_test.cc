#include "framework/about_wnd.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/uiaction.h>

#include <functional>

#include "framework/win_app.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

class AboutWndTest : public testing::Test {
 protected:
  void SetUp() override {
    app_.m_strAppTitle = "Calvaro Upgrade Utility";
    app_.m_strBuildDate = "Jul  5 2021";
    window_ = new CZORMAboutWnd(&app_);
  }
  void TearDown() override {
    window_->Destroy();
    wxYield();
    app_.m_bmpAbout = wxBitmap();
  }
  void PopupAndWait() {
    window_->Popup();
    ASSERT_TRUE(WaitFor([&] { return window_->IsShownOnScreen(); }));
    // Without a window manager the input focus moves only once the window is mapped.
    window_->Raise();
    Settle();
  }

  CZORMWinApp& app_ = *static_cast<CZORMWinApp*>(wxTheApp);
  CZORMAboutWnd* window_ = nullptr;
};

TEST_F(AboutWndTest, PaintsFrameTextsAndTheTopLeftOfTheLogo) {
  EXPECT_EQ("About Calvaro Upgrade Utility", window_->GetTitle());
  // A logo larger than its place: only its top-left 200 x 50 pixels are shown.
  wxBitmap logo(300, 80);
  {
    wxMemoryDC dc(logo);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    dc.SetBrush(*wxBLUE_BRUSH);
    dc.SetPen(*wxBLUE_PEN);
    dc.DrawRectangle(0, 0, 10, 10);  // marks the logo's top-left corner
  }
  app_.m_bmpAbout = logo;
  PopupAndWait();
  ScopedTestHome home;
  wxImage shot = Screenshot(home.path() + "/about.png");
  ASSERT_TRUE(shot.IsOk());

  struct Pixel {
    const char* what;
    int x, y;
    uint32_t rgb;
  } pixels[] = {
      {"frame, top-left", 0, 0, 0x000000},         {"frame, bottom-right", 399, 249, 0x000000},
      {"white inside", 5, 5, 0xFFFFFF},            {"white below the texts", 200, 230, 0xFFFFFF},
      {"logo's top-left corner", 192, 32, 0x0000FF}, {"logo's last pixel", 389, 79, 0xFF0000},
      {"right of the logo", 391, 60, 0xFFFFFF},    {"below the logo", 300, 81, 0xFFFFFF},
      {"above the logo", 300, 28, 0xFFFFFF},       {"left of the logo", 188, 60, 0xFFFFFF},
  };
  for (const Pixel& p : pixels)
    EXPECT_EQ(p.rgb, uint32_t(shot.GetRed(p.x, p.y) << 16 | shot.GetGreen(p.x, p.y) << 8 |
                              shot.GetBlue(p.x, p.y))) << p.what;
  struct Band {
    const char* what;
    int x0, x1, y0, y1;
    bool inked;
  } bands[] = {
      {"title", 10, 180, 10, 26, true},          {"notice", 20, 180, 30, 46, true},
      {"build date after \"Compiled: \"", 90, 180, 50, 66, true},
      {"web address", 20, 180, 70, 86, true},    {"Warning:", 10, 80, 100, 116, true},
      {"blank warning lines", 10, 390, 120, 245, false},
      {"margin left of the texts", 1, 9, 1, 249, false},
  };
  for (const Band& band : bands) {
    int dark = 0;
    for (int y = band.y0; y < band.y1; ++y)
      for (int x = band.x0; x < band.x1; ++x)
        dark += shot.GetRed(x, y) < 100 && shot.GetGreen(x, y) < 100 && shot.GetBlue(x, y) < 100;
    EXPECT_EQ(band.inked, dark > 20) << band.what;
  }
}

TEST_F(AboutWndTest, AnyKeyOrMouseButtonHidesItButMovingThePointerDoesNot) {
  struct Case {
    const char* what;
    std::function<void(wxUIActionSimulator&)> act;
    bool hides;
  } cases[] = {
      {"a letter", [](wxUIActionSimulator& sim) { sim.Char('q'); }, true},
      {"Escape", [](wxUIActionSimulator& sim) { sim.Char(WXK_ESCAPE); }, true},
      {"the left button", [](wxUIActionSimulator& sim) { sim.MouseClick(wxMOUSE_BTN_LEFT); }, true},
      {"the right button", [](wxUIActionSimulator& sim) { sim.MouseClick(wxMOUSE_BTN_RIGHT); }, true},
      {"pointer moves", [](wxUIActionSimulator& sim) { sim.MouseMove(wxPoint(300, 200)); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PopupAndWait();
    wxUIActionSimulator sim;
    sim.MouseMove(window_->ClientToScreen(wxPoint(200, 200)));
    wxYield();
    c.act(sim);
    EXPECT_EQ(c.hides, WaitFor([&] { return !window_->IsShown(); }));
    EXPECT_EQ(c.hides ? 0 : 1, window_->m_bShown);
  }
}

}  // namespace
