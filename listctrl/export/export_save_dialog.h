// The save dialog every export that writes a file asks its path with.
#pragma once

#include <string>

class CZORMListCtrl;

// Asks where to save: a save dialog with no parent and the overwrite prompt,
// offering list.GetExportFileName(extension) and the filter `filter` ("Text File
// (*.txt)|*.txt|"; the trailing '|' is dropped). Returns the chosen path, or ""
// when the user cancelled.
std::string AskExportPath(const CZORMListCtrl& list, const char* extension, const char* filter);
