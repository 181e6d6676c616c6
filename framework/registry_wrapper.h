// CZORMRegistry: a short-lived wrapper around one open registry key. It opens keys
// with create semantics (a missing key is made when the caller may create it),
// reads 32-bit values, and closes its key when destroyed. Failures to open are
// shown to the user under "Registry Error" unless the wrapper is quiet. For the
// user-interface thread.
#pragma once

#include <wx/object.h>

#include <cstdint>

#include "platform/registry.h"

class CZORMRegistry : public wxObject {
 public:
  CZORMRegistry() = default;
  // Closes m_hKey unless m_bNoClose.
  ~CZORMRegistry() override;
  CZORMRegistry(const CZORMRegistry&) = delete;
  CZORMRegistry& operator=(const CZORMRegistry&) = delete;

  // The access asked for by later OpenKey calls (default kKeyAllAccess).
  void SetAccess(uint32_t access) { m_samAccess = access; }
  // When true, OpenKey fails without a message.
  void SetQuiet(bool quiet) { m_bQuiet = quiet; }

  // Creates or opens `sub_key` below `root` with m_samAccess. On success closes the
  // current key first when `close_current` is set, keeps the new one and returns
  // true. On failure shows the system's text for the error (unless quiet), keeps
  // the current key and returns false.
  bool OpenKey(const char* sub_key, RegistryKeyHandle root, bool close_current = true);

  // Stores the 32-bit number value `name` of the open key in `value` and returns
  // true; false, with `value` untouched, without an open key or when the value is
  // missing or of another type.
  bool ReadDWORD(const char* name, uint32_t& value);

  RegistryKeyHandle m_hKey = nullptr;
  bool m_bNoClose = false;
  bool m_bQuiet = false;
  uint32_t m_samAccess = kKeyAllAccess;
};
