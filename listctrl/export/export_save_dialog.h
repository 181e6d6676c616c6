// The save dialog every export that writes a file asks with.
#pragma once

#include <string>

class CZORMListCtrl;

// Shows a save dialog (no parent, overwrite prompt) offering
// list.GetExportFileName(extension) in the current folder. `filter` is in the
// "Name (*.ext)|*.ext|" form, whose last '|' only ends it. Returns the chosen path,
// with ".<extension>" added when the name typed has no extension; empty when the
// dialog was cancelled.
std::string AskExportPath(const CZORMListCtrl& list, const char* extension, const char* filter);
