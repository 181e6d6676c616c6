// CZORMUpgradeDlg: the upgrade utility's only window. It shows the upgrade
// summary in a property grid (filled by the application before the dialog is
// shown), the module's change history in a list (fetched when the dialog is
// shown), and two buttons: "&Upgrade" hands the package to the installer,
// "Cancel" (or Escape) ends the dialog. A failed installation keeps the dialog
// open so the operator can change "MSI Properties" and try again.
#pragma once

#include <wx/dialog.h>
#include <wx/icon.h>
#include <wx/imaglist.h>

#include <string>

#include "app/rss_list_ctrl.h"
#include "app/upgrade_request.h"
#include "framework/property_grid_ctrl.h"
#include "framework/property_grid_property.h"

class wxButton;

class CZORMUpgradeDlg : public wxDialog {
 public:
  enum { IDD = 102 };  // the dialog's layout
  // Its controls, in tab order.
  enum { IDC_UPGRADE = 1, IDC_CANCEL = 2, IDC_LIST = 1001, IDC_PROPERTYGRID = 1000 };
  enum { IDI_APP = 128, IDI_FIX = 130, IDI_ENHANCEMENT = 131 };  // icons

  // Creates the window with its controls (hidden until shown) and loads the
  // application icon. The summary goes into m_wndPropertyGrid before the dialog
  // is shown; the change history is fetched when it is shown.
  explicit CZORMUpgradeDlg(wxWindow* parent = nullptr);
  ~CZORMUpgradeDlg() override;

  UpgradeRequest m_request;  // what to upgrade: the module for the feed, the package
  wxIcon m_hIcon;                                             // icon 128
  CZORMPropertyGridCtrl m_wndPropertyGrid;                    // control 1000
  CZORMPropertyGridProperty* m_pPropURL = nullptr;            // not owned
  CZORMPropertyGridProperty* m_pPropModule = nullptr;         // not owned
  CZORMPropertyGridProperty* m_pPropMSIProperties = nullptr;  // not owned
  wxImageList m_imageList;                                    // the list's small icons
  CRSSListCtrl m_wndList;                                     // control 1001

 protected:
  // Sets the icons, loads the change history and fills the list. A feed that
  // cannot be fetched or read is reported with its own text; the list then stays
  // without columns and the upgrade can still be made.
  void OnInitDialog(wxInitDialogEvent& event);
  // Installs the request's package with the "MSI Properties" text; closes
  // the dialog on success, otherwise reports the installer's code.
  void OnUpgrade(wxCommandEvent& event);
  // "&Export" of the list's context menu.
  void OnExport(wxCommandEvent& event);

 private:
  void LoadFeed();
  void FillList();
  // The property's value as text; empty for a property that was never set up.
  static std::string ValueOf(const CZORMPropertyGridProperty* property);

  wxButton* m_pUpgrade = nullptr;
  wxButton* m_pCancel = nullptr;

  wxDECLARE_EVENT_TABLE();
};
