// app_probe [ARGS...]: a framework program for the application base's tests. It
// runs InitFramework as a program would and prints what it found, one "name=value"
// line each. ZORM_PROBE_TIME pins the clock (seconds since the epoch) and
// ZORM_PROBE_BITMAP names the About logo. With ZORM_PROBE_START_MESSAGE set, the
// start-up message is expected and answered; otherwise any modal dialog is reported
// as unexpected. With ZORM_PROBE_CRASH set, an event handler then throws, with the
// display gone so that the crash message goes to stderr.
#include <unistd.h>
#include <wx/debug.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "framework/about_wnd.h"
#include "framework/win_app.h"
#include "util/clock.h"

namespace {

class ExpectStartMessage : public wxExpectModal<wxMessageDialog> {
 public:
  ExpectStartMessage() : wxExpectModal<wxMessageDialog>(wxID_OK) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    printf("StartMessage=%s|%s|%ld|%zu\n", dialog->GetTitle().utf8_str().data(),
           dialog->GetMessage().utf8_str().data(), dialog->GetMessageDialogStyle() & (wxOK | wxCANCEL | wxYES_NO | wxICON_MASK),
           wxTopLevelWindows.GetCount());
    return wxExpectModal<wxMessageDialog>::OnInvoked(dialog);
  }
};

class RejectAnyDialog : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    printf("UnexpectedDialog=%s\n", dialog->GetTitle().utf8_str().data());
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

class ProbeApp : public CZORMWinApp {
 public:
  bool OnInit() override {
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                          const wxString&) {
      printf("Assert=%s:%d %s\n", file.utf8_str().data(), line, cond.utf8_str().data());
      fflush(stdout);
      _exit(3);
    });
    if (const char* when = getenv("ZORM_PROBE_TIME")) SetFixedTime(atoll(when));
    const char* bitmap = getenv("ZORM_PROBE_BITMAP");
    const unsigned bitmap_id = bitmap ? static_cast<unsigned>(atoi(bitmap)) : 0;
    if (getenv("ZORM_PROBE_START_MESSAGE")) {
      wxTEST_DIALOG(InitFramework("Calvaro Probe", bitmap_id, "Jul  5 2021"),
                    ExpectStartMessage());
    } else {
      RejectAnyDialog reject;
      reject.Register();
      InitFramework("Calvaro Probe", bitmap_id, "Jul  5 2021");
      reject.Unregister();
    }
    char cwd[4096];
    printf("RunCount=%u\nGUID=%s\n", m_nRunCount, m_strGUID.c_str());
    printf("Server=%s|%u|%s|%s\n", m_strServer.c_str(), m_nServerPort, m_strServerUser.c_str(),
           m_strServerPassword.c_str());
    printf("WorkingFolder=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "");
    printf("Logo=%dx%d\n", m_bmpAbout.IsOk() ? m_bmpAbout.GetWidth() : 0,
           m_bmpAbout.IsOk() ? m_bmpAbout.GetHeight() : 0);
    printf("AboutWindow=%s\n", m_pAboutWnd && !m_pAboutWnd->IsShown() ? "hidden" : "wrong");
    fflush(stdout);
    if (!getenv("ZORM_PROBE_CRASH")) return false;  // done once start-up is over
    unsetenv("DISPLAY");
    CallAfter([] { throw std::runtime_error("thrown from an event handler"); });
    return true;  // into the event loop, where the exception escapes
  }
};

}  // namespace

wxIMPLEMENT_APP(ProbeApp);
