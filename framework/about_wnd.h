// The About window: a borderless 400 x 250 window at the top-left of the screen
// showing the application's title, the maker's notice, the build date and the
// application's logo. The application base creates it hidden at start-up; it hides
// itself again at the first key press or mouse-button press it receives.
#pragma once

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/frame.h>

#include <string>

class CZORMAboutWnd;

// What the About window shows, and who holds the window: the application base.
class CZORMAboutSource {
 public:
  virtual const std::string& GetAboutTitle() const = 0;
  virtual const std::string& GetAboutBuildDate() const = 0;
  // May be not ok: the window then shows no logo.
  virtual const wxBitmap& GetAboutLogo() const = 0;
  // `window` is being destroyed; a holder forgets it.
  virtual void ForgetAboutWindow(CZORMAboutWnd* window) = 0;

 protected:
  ~CZORMAboutSource() = default;
};

class CZORMAboutWnd : public wxFrame {
 public:
  // Creates the window, hidden, titled "About <application title>". `app` (the
  // application) is not owned and must outlive the window.
  explicit CZORMAboutWnd(CZORMAboutSource* app);
  ~CZORMAboutWnd() override;
  CZORMAboutWnd(const CZORMAboutWnd&) = delete;
  CZORMAboutWnd& operator=(const CZORMAboutWnd&) = delete;

  // Shows the window and gives it the input, so that the next key or click hides it.
  void Popup();

  int m_bShown = 0;  // non-zero while the window is shown
  CZORMAboutSource* m_pApp;
  wxFont m_fontBold;    // made by EnsureFonts
  wxFont m_fontNormal;  // made by EnsureFonts

  // Makes the two fonts when they are first needed (the window is shown or
  // painted): finding the face asks the system for its whole font list, which
  // costs a noticeable part of a program's start, and most runs never show the
  // window.
  void EnsureFonts();

  // The face the window's texts use: "Times New Roman" where installed, else a
  // serif face of this system.
  static wxString FaceName();

 protected:
  // Sees every event for the window before its handlers: a key press or a mouse-
  // button press hides the window and goes no further.
  bool TryBefore(wxEvent& event) override;

 private:
  void OnPaint(wxPaintEvent& event);
};
