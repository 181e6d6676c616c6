// The export dialog: which form the selected rows of a list go to, and what
// happens to the written file. CZORMListCtrl::Export asks with it and then runs
// the chosen writer; it is apart so that the question can be asked, and its answer
// read, without writing anything.
//
// User-interface thread only; the dialog is modal and owned by the list.
#pragma once

#include <vector>

#include "listctrl/export/export_types.h"

class CZORMListCtrl;

// One radio button of the export dialog.
struct ExportTypeOption {
  ExportType type;
  const char* label;
};

// The radio buttons in the order the dialog shows them; "Email" only when the
// export has recipients to send to.
std::vector<ExportTypeOption> ExportTypeOptions(bool offer_email);

// What the user chose in the export dialog.
struct ExportChoice {
  ExportType type = ExportType::PDF;
  ExportAction action = ExportAction::None;  // Open when "open when complete" was ticked
};

// The id with which the dialog's "Select All" button ends it.
constexpr int kExportSelectAllButton = 4;

// Shows the export dialog over `list` until the user confirms or cancels it.
// "Select All", offered while fewer rows are selected than the list holds, selects
// every row of the list (a lasting change) and shows the dialog again. Returns
// false when the user cancelled; `*choice` is then untouched.
bool AskForExportType(CZORMListCtrl& list, bool offer_email, ExportChoice* choice);
