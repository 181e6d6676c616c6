#include "listctrl/header_ctrl.h"

#include <wx/window.h>

CZORMHeaderCtrl::~CZORMHeaderCtrl() { Detach(); }

bool CZORMHeaderCtrl::Attach(wxWindow* header) {
  if (header == nullptr || m_pHeader != nullptr) return false;
  header->PushEventHandler(this);
  m_pHeader = header;
  return true;
}

void CZORMHeaderCtrl::Detach() {
  if (m_pHeader == nullptr) return;
  m_pHeader->RemoveEventHandler(this);
  m_pHeader = nullptr;
}
