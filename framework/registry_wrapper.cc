#include "framework/registry_wrapper.h"

#include "platform/user_message.h"

CZORMRegistry::~CZORMRegistry() {
  if (m_hKey != nullptr && !m_bNoClose) RegistryCloseKey(m_hKey);
}

bool CZORMRegistry::OpenKey(const char* sub_key, RegistryKeyHandle root, bool close_current) {
  RegistryKeyHandle key = nullptr;
  Status opened = RegistryCreateKey(root, sub_key != nullptr ? sub_key : "", m_samAccess, &key);
  if (!opened.ok()) {
    if (!m_bQuiet) ShowUserMessage("Registry Error", opened.message(), MessageIcon::kInformation);
    return false;
  }
  if (close_current && m_hKey != nullptr) RegistryCloseKey(m_hKey);
  m_hKey = key;
  return true;
}

bool CZORMRegistry::ReadDWORD(const char* name, uint32_t& value) {
  if (m_hKey == nullptr) return false;
  uint32_t type = kRegNone;
  uint32_t number = 0;
  uint32_t size = sizeof number;
  if (!RegistryQueryValue(m_hKey, name != nullptr ? name : "", &type, &number, &size).ok() ||
      type != kRegDword)
    return false;
  value = number;
  return true;
}
