// app_probe [ARGS...]: runs InitFramework as a program would and prints what it found
// as "name=value" lines, every modal dialog answered OK and listed. ZORM_PROBE_TIME
// pins the clock, ZORM_PROBE_BITMAP names the About logo; ZORM_PROBE_CRASH=handler
// then makes an event handler raise an error, any other ZORM_PROBE_CRASH makes the
// start-up itself throw, with the display gone.
#include <unistd.h>
#include <wx/debug.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "framework/about_wnd.h"
#include "framework/win_app.h"
#include "util/clock.h"

namespace {

class AnswerEveryDialog : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    printf("Dialog=%s|%s|%ld|%zu\n", dialog->GetTitle().utf8_str().data(),
           box ? box->GetMessage().utf8_str().data() : "",
           box ? box->GetMessageDialogStyle() & (wxOK | wxCANCEL | wxICON_MASK) : 0,
           wxTopLevelWindows.GetCount());
    return wxID_OK;
  }
  void Exit(wxDialog*) override {}
};

class ProbeApp : public CZORMWinApp {
 public:
  bool OnInit() override {
    wxSetAssertHandler(
        [](const wxString&, int, const wxString&, const wxString& cond, const wxString&) {
          fprintf(stderr, "wx assertion failed: %s\n", cond.utf8_str().data());
          _exit(3);
        });
    if (const char* when = getenv("ZORM_PROBE_TIME")) SetFixedTime(atoll(when));
    const char* bitmap = getenv("ZORM_PROBE_BITMAP");
    AnswerEveryDialog answer;
    answer.Register();
    InitFramework("Calvaro Probe", bitmap ? atoi(bitmap) : 0, "Jul  5 2021");
    answer.Unregister();
    char cwd[4096];
    printf("RunCount=%u\nGUID=%s\nServer=%s|%u|%s|%s\nWorkingFolder=%s\nUpgrade=%s\n",
           m_nRunCount, m_strGUID.c_str(), m_strServer.c_str(), m_nServerPort,
           m_strServerUser.c_str(), m_strServerPassword.c_str(), getcwd(cwd, sizeof cwd) ? cwd : "",
           m_strUpgradeURL.c_str());
    printf("Logo=%dx%d\n", m_bmpAbout.IsOk() ? m_bmpAbout.GetWidth() : 0,
           m_bmpAbout.IsOk() ? m_bmpAbout.GetHeight() : 0);
    printf("AboutWindow=%s\n", m_pAboutWnd && !m_pAboutWnd->IsShown() ? "hidden" : "wrong");
    fflush(stdout);
    const char* crash = getenv("ZORM_PROBE_CRASH");
    if (!crash) return false;  // done once start-up is over
    if (strcmp(crash, "handler") == 0) {
      Bind(wxEVT_BUTTON, &ProbeApp::OnRaise, this);
      answer.Register();
      wxCommandEvent click(wxEVT_BUTTON);
      ProcessEvent(click);
      answer.Unregister();
      printf("GoesOn=yes\n");
      return false;
    }
    unsetenv("DISPLAY");  // so the crash message goes to stderr
    throw std::runtime_error("thrown outside any handler");
  }

 private:
  void OnRaise(wxCommandEvent&) { throw std::invalid_argument("Invalid argument: no row 7."); }
};

}  // namespace

wxIMPLEMENT_APP(ProbeApp);
