// The values an export carries from the dispatcher to its writer.
#pragma once

#include <cstdint>
#include <string>

// The export dialog's radio buttons; the number decides the writer.
enum class ExportType : int {
  CSV = 1,
  Email = 2,
  Text = 3,
  XML = 4,
  Excel = 5,
  PDF = 6,
  JSON = 7,
};

// What happens to a written file once its writer is done (FinishExport).
enum class ExportAction : uint32_t {
  AskToOpen = 0,  // ask whether to open it
  Open = 1,       // open it with the desktop's program for its type
  None = 2,
  Print = 3,      // print it through the desktop
};

// The width GetExportColumns gives a column left out of the report-based exports.
constexpr uint32_t kExportColumnExcluded = 0xFFFFFFFF;

// The page options of a PDF export, as its options dialog gives them and the
// list's settings section keeps them.
struct PdfExportOptions {
  uint32_t page_size = 0;      // the report writer's page-size code: 0 Letter, 1 Legal, 3 A4
  bool landscape = false;
  std::string exclusion_columns;  // report columns to leave out: "3,4,8" (1-based)
};
