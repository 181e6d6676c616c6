#include "app/upgrade_dlg.h"

#include <wx/button.h>
#include <wx/math.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>

#include "app/change_history_load.h"
#include "app/install_progress.h"
#include "app/resource_icons.h"
#include "app/upgrade_summary.h"
#include "framework/menu_resource.h"
#include "platform/installer.h"

// clang-format off
wxBEGIN_EVENT_TABLE(CZORMUpgradeDlg, wxDialog)
  EVT_INIT_DIALOG(CZORMUpgradeDlg::OnInitDialog)
  EVT_BUTTON(CZORMUpgradeDlg::IDC_UPGRADE, CZORMUpgradeDlg::OnUpgrade)
  EVT_MENU(MenuCommandId(kExportCommand), CZORMUpgradeDlg::OnExport)
wxEND_EVENT_TABLE()
// clang-format on

CZORMUpgradeDlg::CZORMUpgradeDlg(wxWindow* parent) {
  // Resizable, with caption and system menu; the controls keep their places.
  Create(parent, wxID_ANY, kUpgradeAppTitle, wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER, "CZORMUpgradeDlg");
  m_hIcon = LoadIconResource(IDI_APP, 32);
  // The layout is drawn for an 8-point dialog font; the desktop's own face keeps
  // the dialog looking native.
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  font.SetPointSize(8);
  SetFont(font);

  // Positions and sizes are dialog units, so the layout follows the font. A
  // window with a font of its own lays out a sample text at every conversion, so
  // the unit is taken once: 4 units across and 8 down are one average character.
  const wxPoint character = ConvertDialogToPixels(wxPoint(4, 8));
  auto pos = [character](int x, int y) {
    return wxPoint(wxMulDivInt32(x, character.x, 4), wxMulDivInt32(y, character.y, 8));
  };
  auto size = [&pos](int w, int h) {
    const wxPoint pixels = pos(w, h);
    return wxSize(pixels.x, pixels.y);
  };
  SetClientSize(size(663, 315));

  // Created in tab order.
  m_pUpgrade = new wxButton(this, IDC_UPGRADE, "&Upgrade", pos(310, 294), size(157, 14));
  m_pUpgrade->SetDefault();
  m_pCancel = new wxButton(this, IDC_CANCEL, "Cancel", pos(606, 294), size(50, 14));
  SetEscapeId(IDC_CANCEL);  // Escape, the close box and "Cancel" all cancel
  m_wndList.Create(this, IDC_LIST, pos(7, 92), size(649, 197),
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_ALIGN_LEFT | wxBORDER_SUNKEN);
  m_wndPropertyGrid.Create(this, IDC_PROPERTYGRID, pos(7, 7), size(649, 80),
                           static_cast<long>(wxPG_BOLD_MODIFIED) | wxBORDER_SUNKEN);
}

CZORMUpgradeDlg::~CZORMUpgradeDlg() {
  // The list goes before the image list it shows.
  m_wndList.SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

void CZORMUpgradeDlg::OnInitDialog(wxInitDialogEvent& event) {
  event.Skip();  // the base initialisation moves the data into the controls
  // Window managers draw a minimised window's icon themselves, from the icons set
  // here; there is no client area to paint it into.
  SetIcons(LoadIconBundleResource(IDI_APP));
  m_pUpgrade->SetFocus();
  // A feed that cannot be fetched or read raises its error out of this handler: the
  // application reports it and the list stays without columns, while the summary
  // and both buttons work.
  LoadFeed();
  // The list shows its first column left-aligned whatever is asked for.
  m_wndList.InsertColumn(0, "Type", wxLIST_FORMAT_LEFT, 120);
  m_wndList.InsertColumn(1, "Date", wxLIST_FORMAT_LEFT, 120);
  m_wndList.InsertColumn(2, "Description", wxLIST_FORMAT_LEFT, 1);  // widened below

  m_imageList.Create(16, 16, true, 2);
  m_imageList.Add(LoadIconResource(IDI_FIX, 16));          // image 0: a fix
  m_imageList.Add(LoadIconResource(IDI_ENHANCEMENT, 16));  // image 1: an enhancement
  m_wndList.SetImageList(&m_imageList, wxIMAGE_LIST_SMALL);
  m_wndList.SetContextMenu(kUpgradeListMenuResource, 0);
  FillList();
  m_wndList.AutoSizeColumns();
}

void CZORMUpgradeDlg::LoadFeed() {
  LoadChangeHistory(m_request.module, &m_wndList.m_rss);
}

void CZORMUpgradeDlg::FillList() {
  CRSS& rss = m_wndList.m_rss;
  m_wndList.Freeze();
  rss.m_rows.clear();
  rss.m_rows.reserve(rss.m_items.size());
  for (CRSSItem& item : rss.m_items) rss.m_rows.push_back(&item);
  m_wndList.SetItemCount(static_cast<long>(rss.m_rows.size()));
  m_wndList.Thaw();
  m_wndList.Refresh(true);
}

void CZORMUpgradeDlg::OnExport(wxCommandEvent&) { m_wndList.Export("Change History"); }

void CZORMUpgradeDlg::OnUpgrade(wxCommandEvent&) {
  // The operator may have edited the properties in the grid; the rest is as asked.
  const std::string properties = ValueOf(m_pPropMSIProperties);
  long code;
  {
    CZORMInstallProgress progress(this);
    code = InstallProduct(m_request.package, properties, progress.Callback()).code();
  }
  if (code == kInstallSuccess) {
    if (Validate() && TransferDataFromWindow()) EndModal(wxID_OK);
    return;
  }
  wxMessageDialog box(this,
                      wxString::Format("Windows Installer returned code: %u",
                                       static_cast<unsigned>(code)),
                      "Install Error", wxOK | wxICON_INFORMATION);
  box.ShowModal();
}

std::string CZORMUpgradeDlg::ValueOf(const CZORMPropertyGridProperty* property) {
  if (!property) return "";
  return std::string(property->GetValue().GetString().utf8_str());
}
