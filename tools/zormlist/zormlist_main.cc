// zormlist [--mail-to ADDRESS]... FILE: the framework's list sample. Shows FILE,
// '|'-separated fields whose first line names the columns, in a list with every
// feature on; the list's export offers "Email" to the --mail-to addresses. Exits
// with status 1 when the file cannot be shown, 2 when called wrongly.
#include <wx/init.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/user_message_box.h"
#include "framework/win_app.h"
#include "tools/zormlist/zormlist_args.h"
#include "tools/zormlist/zormlist_frame.h"

namespace {

class CZormListApp : public CZORMWinApp {
 public:
  bool OnInit() override {
    InstallUserMessageBoxes();
    m_bNoDefaultServer = 1;  // the argument is a file, not a server
    InitFramework("zormlist", 0, __DATE__);
    ListFile file;
    const Status status = ReadListFile(m_strPath, &file);
    if (!status.ok()) {
      ShowListFileError(nullptr, status.message());
      m_nExitStatus = 1;
      return false;
    }
    auto* frame = new CZormListFrame(m_strPath, std::move(file));
    frame->GetList().SetExportRecipients(m_recipients);
    SetTopWindow(frame);
    frame->Show();
    return true;
  }

  std::string m_strPath;  // absolute: InitFramework moves to the program's folder
  std::vector<std::string> m_recipients;
  int m_nExitStatus = 0;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CZormListApp);

int main(int argc, char** argv) {
  ZormListArgs args;
  if (!ParseZormListArgs(argc, argv, &args)) {
    fprintf(stderr,
            "usage: zormlist [--mail-to ADDRESS]... FILE\n"
            "Shows FILE, lines of '|'-separated fields whose first line names the columns,\n"
            "in the framework's list control. Its export (Ctrl+E) offers \"Email\" to\n"
            "each --mail-to ADDRESS.\n");
    return 2;
  }
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(args.file, error);
  if (error) path = args.file;
  if (!wxEntryStart(argc, argv)) {
    fprintf(stderr, "zormlist: cannot start the user interface: is DISPLAY set?\n");
    return 1;
  }
  CZormListApp& app = wxGetApp();
  app.m_strPath = path.string();
  app.m_recipients = std::move(args.recipients);
  const int status = app.CallOnInit() ? app.OnRun() : app.m_nExitStatus;
  app.OnExit();
  wxEntryCleanup();
  return status;
}
