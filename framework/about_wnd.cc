#include "framework/about_wnd.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>


namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 250;
constexpr int kFontPixelHeight = 14;

constexpr char kNotice[] = "Copyright (C) Morvend";
constexpr char kWebAddress[] = "https://www.morvend.com/";

bool IsDismissal(wxEventType type) {
  return type == wxEVT_KEY_DOWN || type == wxEVT_CHAR_HOOK || type == wxEVT_LEFT_DOWN ||
         type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN;
}

wxFont MakeFont(wxFontWeight weight) {
  return wxFont(wxSize(0, kFontPixelHeight), wxFONTFAMILY_ROMAN, wxFONTSTYLE_NORMAL, weight,
                false, CZORMAboutWnd::FaceName());
}

}  // namespace

CZORMAboutWnd::CZORMAboutWnd(CZORMAboutSource* app)
    : wxFrame(nullptr, wxID_ANY, "About " + wxString::FromUTF8(app->GetAboutTitle()),
              wxPoint(0, 0), wxSize(kWidth, kHeight), wxBORDER_NONE),
      m_pApp(app) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);  // the paint handler covers every pixel
  SetCursor(*wxSTANDARD_CURSOR);
  SetCanFocus(true);  // the window has no controls; it takes the keys itself
  Bind(wxEVT_PAINT, &CZORMAboutWnd::OnPaint, this);
}

CZORMAboutWnd::~CZORMAboutWnd() {
  if (m_pApp) m_pApp->ForgetAboutWindow(this);
}

wxString CZORMAboutWnd::FaceName() {
  for (const char* face : {"Times New Roman", "Liberation Serif", "DejaVu Serif"}) {
    if (wxFontEnumerator::IsValidFacename(face)) return face;
  }
  return wxEmptyString;  // the family's default (serif) face
}

void CZORMAboutWnd::EnsureFonts() {
  if (m_fontBold.IsOk()) return;
  m_fontBold = MakeFont(wxFONTWEIGHT_BOLD);
  m_fontNormal = MakeFont(wxFONTWEIGHT_NORMAL);
}

void CZORMAboutWnd::Popup() {
  EnsureFonts();
  Show();
  Raise();
  SetFocus();
  m_bShown = 1;
}

bool CZORMAboutWnd::TryBefore(wxEvent& event) {
  if (IsShown() && IsDismissal(event.GetEventType())) {
    Hide();
    m_bShown = 0;
    return true;
  }
  return wxFrame::TryBefore(event);
}

void CZORMAboutWnd::OnPaint(wxPaintEvent&) {
  EnsureFonts();
  wxPaintDC dc(this);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.SetPen(*wxBLACK_PEN);
  dc.DrawRectangle(0, 0, kWidth, kHeight);

  if (m_pApp->GetAboutLogo().IsOk()) {
    wxMemoryDC logo;
    logo.SelectObjectAsSource(m_pApp->GetAboutLogo());
    dc.Blit(190, 30, 200, 50, &logo, 0, 0);
  }

  // Texts are drawn on white cells, as a window of this kind always drew them.
  dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
  dc.SetTextBackground(*wxWHITE);
  dc.SetTextForeground(*wxBLACK);

  dc.SetFont(m_fontBold);
  dc.DrawText(wxString::FromUTF8(m_pApp->GetAboutTitle()), 10, 10);

  dc.SetFont(m_fontNormal);
  dc.DrawText(kNotice, 20, 30);
  dc.DrawText("Compiled: " + wxString::FromUTF8(m_pApp->GetAboutBuildDate()), 20, 50);
  dc.DrawText(kWebAddress, 20, 70);

  dc.SetFont(m_fontBold);
  dc.DrawText("Warning:", 10, 100);

  // The warning's four lines are left blank.
  dc.SetFont(m_fontNormal);
  for (int y : {125, 140, 155, 170}) dc.DrawText(wxEmptyString, 20, y);
}
