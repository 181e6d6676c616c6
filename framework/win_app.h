// CZORMWinApp, the framework's application base. A program derives its application
// class from it and calls InitFramework first thing at start-up: that installs the
// crash handler, keeps the run statistics and the installation identifier in the
// user's profile (Software\Morvend\<executable name>), shows the start-up message,
// creates the hidden About window, finds the default server, moves to the
// program's own folder and asks the update server for a newer release.
//
// Everything runs on the GUI thread, except that the run count's write runs on a
// thread of its own while the About window is made, and that a program may start
// the update check early on another (StartUpdateCheckEarly); InitFramework has
// both results before it returns. The object lives for the whole process.
#pragma once

#include <libconfig.h>
#include <wx/app.h>
#include <wx/bitmap.h>

#include <cstdint>
#include <future>
#include <optional>
#include <string>

#include "framework/about_wnd.h"
#include "report/variable_store.h"

class wxWindow;

class CZORMWinApp : public wxApp, public CZORMAboutSource {
 public:
  // Prepares an empty configuration and the report variables over it; reads no
  // file and no environment variable.
  CZORMWinApp();
  ~CZORMWinApp() override;
  CZORMWinApp(const CZORMWinApp&) = delete;
  CZORMWinApp& operator=(const CZORMWinApp&) = delete;

  // The start-up work (see above), in order. `about_bitmap_id` names the logo
  // resource for the About window, 0 for none; `build_date` has the form
  // "Jul  5 2021". Failures are silent: always returns true.
  virtual bool InitFramework(const std::string& title, unsigned about_bitmap_id,
                             const std::string& build_date);

  // Asks the update server once whether a newer release exists; stores where to
  // fetch it in m_strUpgradeURL. Silent, bounded by 1.5 s per phase. Takes the
  // answer of a check started early for the same title and build date.
  void CheckForUpdate();
  // Starts the update check InitFramework makes on a worker thread, unless the
  // machine switches it off, for a program that knows its title and build date
  // before its user interface is up. EndUpdateCheck (update_check.h) waits for
  // it when InitFramework never ran.
  static void StartUpdateCheckEarly(const std::string& title, const std::string& build_date);

  // Destroys the About window before wx tears down the remaining windows.
  int OnExit() override;
  // An error raised inside an event handler (a std::exception) abandons that
  // handler: its text is shown in a message box with the stop icon under the
  // application's name, and the program goes on. Anything else that escapes ends
  // the program through the crash handler, with a dump, like any other fatal fault.
  void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor,
                        wxEvent& event) const override;
  bool OnExceptionInMainLoop() override;
  void OnUnhandledException() override;

  // What the About window shows: the title, build date and logo below.
  const std::string& GetAboutTitle() const override { return m_strAppTitle; }
  const std::string& GetAboutBuildDate() const override { return m_strBuildDate; }
  const wxBitmap& GetAboutLogo() const override { return m_bmpAbout; }
  void ForgetAboutWindow(CZORMAboutWnd* window) override {
    if (m_pAboutWnd == window) m_pAboutWnd = nullptr;
  }

  int m_bNoDefaultServer = 0;       // non-zero: InitFramework looks for no default server
  std::string m_strAppTitle;        // given to InitFramework
  std::string m_strBuildDate;       // given to InitFramework
  std::string m_strGUID;            // the installation identifier, empty if none yet
  CZORMAboutWnd* m_pAboutWnd = nullptr;  // owned
  std::string m_strUpgradeURL;      // a newer release, found by the update check
  wxBitmap m_bmpAbout;              // the About window's logo; may be not ok
  uint32_t m_nRunCount = 0;         // the number of this run
  config_t m_config;                // under m_vars
  VariableStore m_vars;             // report variables over m_config
  std::string m_strServer;          // the default server's host
  uint16_t m_nServerPort = 0;       // its port, 0 when none was given
  std::string m_strServerUser;
  std::string m_strServerPassword;

 protected:
  // The text that names the default server: by default the first program argument
  // that is not a flag. A program that has parsed its command line already
  // answers from that; nothing means look in ZORMDEFAULTSERVER.
  virtual std::optional<std::string> DefaultServerArgument() const;

 private:
  void ShowStartMessage();
  // Counts this run in the profile on a thread of its own; the future gives its number.
  std::future<unsigned> CountRun();
  void EnsureGUID();
  void LoadAboutBitmap(unsigned about_bitmap_id);
  void FindDefaultServer();
  static bool IsUpdateCheckDisabled();

  wxDECLARE_DYNAMIC_CLASS(CZORMWinApp);
};

// Shows `text` as an error a handler raised: caption the application's name (the
// executable's base name, which also names the profile key), stop icon, OK,
// owned by `owner` (may be null). Returns when the user has closed it.
void ShowHandlerError(const std::string& text, wxWindow* owner);

// The "LastRunTime" text of `when` in local time ("%A, %B %d, %Y - %H:%M:%S");
// empty if it cannot be formatted.
std::string FormatLastRunTime(time_t when);
