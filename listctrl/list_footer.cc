#include "listctrl/list_footer.h"

#include "listctrl/zorm_list_ctrl.h"

bool CZORMListFooter::Create(wxWindow* parent, CZORMListCtrl* list, wxWindowID id) {
  if (!wxWindow::Create(parent, id, wxDefaultPosition, wxSize(-1, 20), wxBORDER_NONE,
                        "CZORMListFooter"))
    return false;
  m_pList = list;
  if (list != nullptr) list->LayOutCompanions();
  Refresh();
  return true;
}
