#include "framework/about_wnd.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/image.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "framework/win_app.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

bool IsDark(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) < 100 && image.GetGreen(x, y) < 100 && image.GetBlue(x, y) < 100;
}

// Dark pixels in a band of rows, between two columns.
int DarkPixels(const wxImage& image, int x0, int x1, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) count += IsDark(image, x, y);
  return count;
}

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
    // Without a window manager the input focus can only move once the window is
    // mapped; asking again now does what a window manager would have done.
    window_->Raise();
    wxMilliSleep(100);
    wxYield();
  }

  CZORMWinApp& app_ = *static_cast<CZORMWinApp*>(wxTheApp);
  CZORMAboutWnd* window_ = nullptr;
};

}  // namespace

TEST_F(AboutWndTest, StartsHiddenAtTheTopLeftWithItsTitleAndFonts) {
  EXPECT_FALSE(window_->IsShown());
  EXPECT_EQ(0, window_->m_bShown);
  EXPECT_EQ(&app_, window_->m_pApp);
  EXPECT_EQ("About Calvaro Upgrade Utility", window_->GetTitle());
  EXPECT_EQ(wxPoint(0, 0), window_->GetPosition());
  EXPECT_EQ(wxSize(400, 250), window_->GetSize());

  // Times New Roman is not part of this system; the texts use a serif face.
  const wxString expected_face = wxFontEnumerator::IsValidFacename("Times New Roman")
                                     ? "Times New Roman"
                                     : "Liberation Serif";
  window_->EnsureFonts();
  struct Case {
    const wxFont& font;
    wxFontWeight weight;
  } cases[] = {{window_->m_fontBold, wxFONTWEIGHT_BOLD}, {window_->m_fontNormal, wxFONTWEIGHT_NORMAL}};
  for (const Case& c : cases) {
    EXPECT_EQ(expected_face, c.font.GetFaceName());
    EXPECT_EQ(c.weight, c.font.GetWeight());
    EXPECT_FALSE(c.font.GetUnderlined());
    EXPECT_EQ(wxFONTSTYLE_NORMAL, c.font.GetStyle());
  }
}

TEST_F(AboutWndTest, PaintsFrameTextsAndTheTopLeftOfTheLogo) {
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
  const std::string shot_path = home.path() + "/about.png";
  wxImage shot = Screenshot(shot_path);
  ASSERT_TRUE(shot.IsOk());
  if (const char* keep = getenv("ZORM_KEEP_SCREENSHOT")) shot.SaveFile(keep, wxBITMAP_TYPE_PNG);

  struct Pixel {
    const char* what;
    int x, y;
    unsigned char r, g, b;
  } pixels[] = {
      {"frame, top-left", 0, 0, 0, 0, 0},
      {"frame, bottom-right", 399, 249, 0, 0, 0},
      {"frame, top", 200, 0, 0, 0, 0},
      {"white inside", 5, 5, 255, 255, 255},
      {"white below the texts", 200, 230, 255, 255, 255},
      {"logo's top-left corner", 192, 32, 0, 0, 255},
      {"logo", 300, 60, 255, 0, 0},
      {"logo's last pixel", 389, 79, 255, 0, 0},
      {"right of the logo", 391, 60, 255, 255, 255},
      {"below the logo", 300, 81, 255, 255, 255},
      {"above the logo", 300, 28, 255, 255, 255},
      {"left of the logo", 188, 60, 255, 255, 255},
  };
  for (const Pixel& p : pixels) {
    SCOPED_TRACE(p.what);
    EXPECT_EQ(p.r, shot.GetRed(p.x, p.y));
    EXPECT_EQ(p.g, shot.GetGreen(p.x, p.y));
    EXPECT_EQ(p.b, shot.GetBlue(p.x, p.y));
  }
  struct Band {
    const char* what;
    int x0, x1, y0, y1;
    bool inked;
  } bands[] = {
      {"title", 10, 180, 10, 26, true},
      {"notice", 20, 180, 30, 46, true},
      {"build date", 20, 180, 50, 66, true},
      {"web address", 20, 180, 70, 86, true},
      {"Warning:", 10, 80, 100, 116, true},
      {"blank warning lines", 10, 390, 120, 245, false},
      {"margin left of the texts", 1, 9, 1, 249, false},
  };
  for (const Band& band : bands) {
    EXPECT_EQ(band.inked, DarkPixels(shot, band.x0, band.x1, band.y0, band.y1) > 20) << band.what;
  }
  EXPECT_GT(DarkPixels(shot, 90, 180, 50, 66), 20) << "the build date follows \"Compiled: \"";
}

TEST_F(AboutWndTest, AnyKeyOrMouseButtonHidesIt) {
  struct Case {
    const char* what;
    std::function<void(wxUIActionSimulator&)> press;
  } cases[] = {
      {"a letter", [](wxUIActionSimulator& sim) { sim.Char('q'); }},
      {"Escape", [](wxUIActionSimulator& sim) { sim.Char(WXK_ESCAPE); }},
      {"the left button", [](wxUIActionSimulator& sim) { sim.MouseClick(wxMOUSE_BTN_LEFT); }},
      {"the right button", [](wxUIActionSimulator& sim) { sim.MouseClick(wxMOUSE_BTN_RIGHT); }},
      {"the middle button", [](wxUIActionSimulator& sim) { sim.MouseClick(wxMOUSE_BTN_MIDDLE); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PopupAndWait();
    ASSERT_EQ(1, window_->m_bShown);
    wxUIActionSimulator sim;
    sim.MouseMove(window_->ClientToScreen(wxPoint(200, 200)));
    wxYield();
    c.press(sim);
    EXPECT_TRUE(WaitFor([&] { return !window_->IsShown(); }));
    EXPECT_EQ(0, window_->m_bShown);
  }
}

TEST_F(AboutWndTest, MovingThePointerOverItKeepsItShown) {
  PopupAndWait();
  wxUIActionSimulator sim;
  sim.MouseMove(window_->ClientToScreen(wxPoint(100, 100)));
  sim.MouseMove(window_->ClientToScreen(wxPoint(300, 200)));
  for (int i = 0; i < 30; ++i) wxYield(), wxMilliSleep(10);  // let the motion arrive
  EXPECT_TRUE(window_->IsShown());
  EXPECT_EQ(1, window_->m_bShown);
}
