#include "framework/win_app.h"

#include <unistd.h>
#include <wx/cmdline.h>
#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include <cstdlib>
#include <exception>
#include <future>
#include <set>

#include "framework/about_wnd.h"
#include "framework/crash_handler.h"
#include "framework/desktop_fonts.h"
#include "framework/executable_folder.h"
#include "framework/registry_wrapper.h"
#include "framework/server_url.h"
#include "framework/update_check.h"
#include "platform/profile.h"
#include "platform/uuid.h"
#include "util/clock.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZORMWinApp, wxApp);

std::string FormatLastRunTime(time_t when) {
  struct tm local;
  char text[128];
  if (!localtime_r(&when, &local)) return "";
  if (strftime(text, sizeof text, "%A, %B %d, %Y - %H:%M:%S", &local) == 0) return "";
  return text;
}

CZORMWinApp::CZORMWinApp() {
  config_init(&m_config);
  InitVariables(&m_vars, &m_config, 1);
}

CZORMWinApp::~CZORMWinApp() {
  delete m_pAboutWnd;  // only still here when wx never ran its clean-up
  FreeVariables(&m_vars);
  config_destroy(&m_config);
}

int CZORMWinApp::OnExit() {
  delete m_pAboutWnd;
  m_pAboutWnd = nullptr;
  return wxApp::OnExit();
}

void ShowHandlerError(const std::string& text, wxWindow* owner) {
  wxMessageDialog box(owner, wxString::FromUTF8(text), wxString::FromUTF8(ProfileApplicationName()),
                      wxOK | wxICON_ERROR);
  box.ShowModal();
}

namespace {

// The top-level window of the event's window, to own the message.
wxWindow* OwnerOf(const wxEvent& event) {
  auto* window = wxDynamicCast(event.GetEventObject(), wxWindow);
  return window != nullptr ? wxGetTopLevelParent(window) : nullptr;
}

// A window cannot open a modal loop in the middle of drawing itself: such an
// error is shown once the drawing is over, and only once while it waits, since
// every repaint until then raises it again.
bool RaisedWhileDrawing(const wxEvent& event) {
  const wxEventType type = event.GetEventType();
  return type == wxEVT_PAINT || type == wxEVT_ERASE_BACKGROUND;
}

}  // namespace

void CZORMWinApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor,
                                   wxEvent& event) const {
  try {
    wxApp::CallEventHandler(handler, functor, event);
  } catch (const std::exception& error) {
    const std::string text = error.what();
    wxWindow* owner = OwnerOf(event);
    if (!RaisedWhileDrawing(event)) {
      ShowHandlerError(text, owner);
      return;
    }
    static std::set<std::string> waiting;
    if (!waiting.insert(text).second) return;
    wxWeakRef<wxWindow> weak_owner(owner);
    const_cast<CZORMWinApp*>(this)->CallAfter([text, weak_owner] {
      ShowHandlerError(text, weak_owner.get());
      waiting.erase(text);
    });
  }
}

bool CZORMWinApp::OnExceptionInMainLoop() {
  // Work queued to run later (CallAfter) is a handler too.
  try {
    throw;
  } catch (const std::exception& error) {
    ShowHandlerError(error.what(), GetTopWindow());
    return true;
  } catch (...) {
    std::terminate();  // the exception is still current, so the dump can name it
  }
}

void CZORMWinApp::OnUnhandledException() { std::terminate(); }

bool CZORMWinApp::InitFramework(const std::string& title, unsigned about_bitmap_id,
                                const std::string& build_date) {
  // wx has done the base initialisation before OnInit, which calls this.
  InstallCrashHandler();
  StartReadingDesktopFonts();
  // No ActiveX hosting or OLE to start: nothing on this platform uses them.
  SetProfileRegistryKey("Morvend");
  ShowStartMessage();
  // The count is flushed to the disk while the About window is made; this run
  // has its number before InitFramework returns.
  std::future<unsigned> run = CountRun();
  m_strAppTitle = title;
  m_strBuildDate = build_date;
  EnsureGUID();
  LoadAboutBitmap(about_bitmap_id);
  m_pAboutWnd = new CZORMAboutWnd(this);
  if (m_bNoDefaultServer == 0) FindDefaultServer();
  const std::string folder = ExecutableFolder();
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    // A folder that cannot be entered leaves the program where it was started.
  }
  if (!IsUpdateCheckDisabled()) CheckForUpdate();
  m_nRunCount = run.get();
  return true;
}

void CZORMWinApp::CheckForUpdate() {
  if (TakeUpdateCheck(m_strAppTitle, m_strBuildDate, &m_strUpgradeURL)) return;
  ::CheckForUpdate(m_strAppTitle, m_strBuildDate, &m_strUpgradeURL);
}

void CZORMWinApp::StartUpdateCheckEarly(const std::string& title, const std::string& build_date) {
  if (!IsUpdateCheckDisabled()) StartUpdateCheck(title, build_date);
}

void CZORMWinApp::ShowStartMessage() {
  const std::string message = GetProfileString("Options", "StartMessage", "");
  if (message.empty()) return;
  wxMessageDialog dialog(nullptr, wxString::FromUTF8(message), "Startup Message",
                         wxOK | wxICON_INFORMATION);
  dialog.ShowModal();
}

std::future<unsigned> CZORMWinApp::CountRun() {
  // Programs starting together must not read the same count: one lock around
  // the read and the write, which also stamps the time.
  return std::async(std::launch::async, [stamp = FormatLastRunTime(CurrentTime())] {
    return IncrementProfileInt("Runtime", "RunCount", {{"LastRunTime", stamp}});
  });
}

void CZORMWinApp::EnsureGUID() {
  m_strGUID = GetProfileString("Runtime", "GUID", "");
  if (!m_strGUID.empty()) return;
  // Without a proper identifier nothing is stored, so the next start tries again.
  std::string id;
  if (CreateUuidText(&id)) {
    m_strGUID = id;
    WriteProfileString("Runtime", "GUID", m_strGUID.c_str());
  }
}

void CZORMWinApp::LoadAboutBitmap(unsigned about_bitmap_id) {
  if (about_bitmap_id == 0) return;
  // Bitmap resources ship as PNG files beside the program.
  const wxString path = wxString::FromUTF8(ExecutableFolder()) +
                        wxString::Format("resources/bitmap-%u.png", about_bitmap_id);
  if (!wxFileExists(path)) return;
  wxInitAllImageHandlers();
  wxImage image;
  wxLogNull quiet;  // a damaged file just means no logo
  if (image.LoadFile(path, wxBITMAP_TYPE_PNG)) m_bmpAbout = wxBitmap(image);
}

std::optional<std::string> CZORMWinApp::DefaultServerArgument() const {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i].ToStdString(wxConvUTF8);
    if (!argument.empty() && argument[0] != '-') return argument;
  }
  return std::nullopt;
}

void CZORMWinApp::FindDefaultServer() {
  // An argument names the server (or a file); there is no shell-open request
  // channel to enable on this platform.
  std::optional<std::string> text = DefaultServerArgument();
  if (!text) {
    const char* variable = getenv("ZORMDEFAULTSERVER");
    if (!variable) return;
    text = variable;
  }
  if (std::optional<ServerUrl> url = ParseServerUrl(*text)) {
    m_strServer = url->host;
    m_nServerPort = url->port;
    m_strServerUser = url->user;
    m_strServerPassword = url->password;
  }
}

bool CZORMWinApp::IsUpdateCheckDisabled() {
  // Quiet and read-only: a machine without the key, or a user who may not create
  // it, simply gets the check.
  CZORMRegistry machine;
  machine.SetAccess(kKeyRead);
  machine.SetQuiet(true);
  uint32_t disabled = 0;
  if (machine.OpenKey("SOFTWARE\\Morvend", kHKeyLocalMachine)) {
    machine.ReadDWORD("DisableUpdateCheck", disabled);
  }
  return disabled != 0;
}
