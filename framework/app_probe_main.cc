// app_probe [ARGS...]: a framework program for the application base's tests. It
// runs InitFramework as a program would and prints what it found, one "name=value"
// line each. ZORM_PROBE_TIME pins the clock (seconds since the epoch). With
// ZORM_PROBE_START_MESSAGE set, the start-up message is expected and answered
// through wx's dialog testing hooks; otherwise any modal dialog is reported as
// unexpected and dismissed. With ZORM_PROBE_THROW naming a message program, the
// crash handler uses that program and an event handler then throws.
#include <unistd.h>
#include <wx/debug.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "framework/about_wnd.h"
#include "framework/crash_handler.h"
#include "framework/win_app.h"
#include "util/clock.h"

namespace {

// Records the start-up message and how many windows existed when it came up.
class ExpectStartMessage : public wxExpectModal<wxMessageDialog> {
 public:
  ExpectStartMessage() : wxExpectModal<wxMessageDialog>(wxID_OK) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    printf("StartMessageCaption=%s\n", dialog->GetTitle().utf8_str().data());
    printf("StartMessageText=%s\n", dialog->GetMessage().utf8_str().data());
    printf("StartMessageStyle=%ld\n", dialog->GetMessageDialogStyle());
    printf("WindowsBeforeStartMessage=%zu\n", wxTopLevelWindows.GetCount());
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
                          const wxString& msg) {
      printf("Assert=%s:%d %s %s\n", file.utf8_str().data(), line, cond.utf8_str().data(),
             msg.utf8_str().data());
      fflush(stdout);
      _exit(3);
    });
    if (const char* when = getenv("ZORM_PROBE_TIME")) SetFixedTime(atoll(when));
    // The first installation wins, so the test's message program stays in place.
    const char* crash_message = getenv("ZORM_PROBE_THROW");
    if (crash_message) InstallCrashHandler(crash_message);
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
    printf("RunCount=%u\n", m_nRunCount);
    printf("GUID=%s\n", m_strGUID.c_str());
    printf("Server=%s\nPort=%u\nUser=%s\nPassword=%s\n", m_strServer.c_str(), m_nServerPort,
           m_strServerUser.c_str(), m_strServerPassword.c_str());
    printf("WorkingFolder=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "");
    if (m_bmpAbout.IsOk())
      printf("Logo=%dx%d\n", m_bmpAbout.GetWidth(), m_bmpAbout.GetHeight());
    else
      printf("Logo=none\n");
    printf("AboutWindow=%s\n", m_pAboutWnd && !m_pAboutWnd->IsShown() ? "hidden" : "missing or shown");
    fflush(stdout);
    if (crash_message) {
      CallAfter([] { throw std::runtime_error("thrown from an event handler"); });
      return true;  // into the event loop, where the exception escapes
    }
    return false;  // like the upgrade utility: done once start-up is over
  }
};

}  // namespace

wxIMPLEMENT_APP(ProbeApp);
