#include "app/upgrade_app.h"

#include <string>
#include <vector>

#include "app/command_line_info_ex.h"
#include "app/upgrade_dlg.h"
#include "app/upgrade_summary.h"
#include "framework/user_message_box.h"
#include "platform/command_line_info.h"

CZORMUpgradeApp::CZORMUpgradeApp() {
  // A restart after a system update means nothing to a session manager here, so
  // there is no restart registration to ask for.
}

bool CZORMUpgradeApp::OnInit() { return InitInstance(); }

bool CZORMUpgradeApp::InitInstance() {
  // Messages of the layers below reach the operator as message boxes.
  InstallUserMessageBoxes();
  InitFramework(kUpgradeAppTitle, 0, kUpgradeBuildDate);

  // The arguments as the program received them; wx's own option parsing stays
  // out, so "-x" and "/home/op/abc.msi" reach the splitter unchanged.
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(argv[i].ToStdString(wxConvUTF8));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  CCommandLineInfoEx cmdInfo;
  ParseCommandLine(static_cast<int>(arguments.size()), pointers.data(), cmdInfo);

  CZORMUpgradeDlg dlg;
  CZORMPropertyGridCtrl& grid = dlg.m_wndPropertyGrid;
  auto text = [](const std::string& value) { return wxVariant(wxString::FromUTF8(value)); };

  dlg.m_pPropURL = new CZORMPropertyGridProperty("URL", text(cmdInfo.m_strURL), "Download URL");
  dlg.m_pPropURL->AllowEdit(false);
  grid.AddProperty(dlg.m_pPropURL);
  dlg.m_pPropModule = new CZORMPropertyGridProperty("Module", text(cmdInfo.m_strModule), "Module");
  dlg.m_pPropModule->AllowEdit(false);
  grid.AddProperty(dlg.m_pPropModule);

  auto* oldVersion = new CZORMPropertyGridProperty("Old Version");
  grid.AddProperty(oldVersion);
  oldVersion->AddSubItem(
      new CZORMPropertyGridProperty("Built", text(BuiltText(cmdInfo.m_dtBuilt)), "Date Built"));
  const std::string age = AgeText(cmdInfo.m_dtBuilt);
  oldVersion->AddSubItem(new CZORMPropertyGridProperty("Age", text(age), "Age"));

  auto* installOptions = new CZORMPropertyGridProperty("Install Options");
  grid.AddProperty(installOptions);
  dlg.m_pPropMSIProperties = new CZORMPropertyGridProperty("MSI Properties", text(""), "");
  installOptions->AddSubItem(dlg.m_pPropMSIProperties);

  dlg.ShowModal();
  return false;
}
