// CZORMAssociation: opens or prints one file with the programs the desktop
// associates with its type. A file type without a program gets the desktop's
// open-with chooser; other failures are reported to the user as
// "Failed to process file: <reason>" under "Open Error".
#pragma once

#include <string>
#include <utility>

class CZORMAssociation {
 public:
  explicit CZORMAssociation(std::string path) : m_strPath(std::move(path)) {}
  virtual ~CZORMAssociation() = default;

  // Return whether the desktop took the file.
  int OpenFile();
  int PrintFile();

  std::string m_strPath;
};
