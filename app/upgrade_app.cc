#include "app/upgrade_app.h"

#include <string>

#include "app/upgrade_dlg.h"
#include "app/upgrade_summary.h"
#include "framework/user_message_box.h"

CZORMUpgradeApp::CZORMUpgradeApp() {
  // A restart after a system update means nothing to a session manager here, so
  // there is no restart registration to ask for.
}

bool CZORMUpgradeApp::OnInit() { return InitInstance(); }

std::optional<std::string> CZORMUpgradeApp::DefaultServerArgument() const {
  if (m_request.server.empty()) return std::nullopt;
  return m_request.server;
}

bool CZORMUpgradeApp::InitInstance() {
  // Messages of the layers below reach the operator as message boxes.
  InstallUserMessageBoxes();
  InitFramework(kUpgradeAppTitle, 0, kUpgradeBuildDate);

  CZORMUpgradeDlg dlg;
  dlg.m_request = m_request;
  CZORMPropertyGridCtrl& grid = dlg.m_wndPropertyGrid;
  auto text = [](const std::string& value) { return wxVariant(wxString::FromUTF8(value)); };

  dlg.m_pPropURL = new CZORMPropertyGridProperty("URL", text(m_request.package), "Download URL");
  dlg.m_pPropURL->AllowEdit(false);
  grid.AddProperty(dlg.m_pPropURL);
  dlg.m_pPropModule = new CZORMPropertyGridProperty("Module", text(m_request.module), "Module");
  dlg.m_pPropModule->AllowEdit(false);
  grid.AddProperty(dlg.m_pPropModule);

  auto* oldVersion = new CZORMPropertyGridProperty("Old Version");
  grid.AddProperty(oldVersion);
  oldVersion->AddSubItem(
      new CZORMPropertyGridProperty("Built", text(BuiltText(m_request.built)), "Date Built"));
  const std::string age = AgeText(m_request.built);
  oldVersion->AddSubItem(new CZORMPropertyGridProperty("Age", text(age), "Age"));

  auto* installOptions = new CZORMPropertyGridProperty("Install Options");
  grid.AddProperty(installOptions);
  dlg.m_pPropMSIProperties = new CZORMPropertyGridProperty("MSI Properties", text(""), "");
  installOptions->AddSubItem(dlg.m_pPropMSIProperties);

  dlg.ShowModal();
  return false;
}
