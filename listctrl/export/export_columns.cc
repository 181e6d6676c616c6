// What every writer shares: the default file name, the exported columns and the
// text of a cell.
#include <algorithm>

#include "listctrl/zorm_list_ctrl.h"
#include "util/clock.h"

namespace {

// UTF-8 text's length in characters: its bytes that start one.
uint32_t CharacterCount(const std::string& text) {
  return uint32_t(std::count_if(text.begin(), text.end(),
                                [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string CZORMListCtrl::GetExportFileName(const char* extension) const {
  const time_t now = CurrentTime();
  struct tm local;
  localtime_r(&now, &local);
  char stamp[32];
  strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return std::string("Calvaro-Export-") + stamp + "." + extension;
}

bool CZORMListCtrl::GetExportColumns(std::vector<uint32_t>* widths,
                                     std::vector<std::string>* names) const {
  const int columns = GetColumnCount();
  if (columns < 1) return false;
  std::vector<uint32_t> found(static_cast<size_t>(columns), 0);
  std::vector<std::string> headers(static_cast<size_t>(columns));
  const long rows = GetItemCount();
  for (int column = 0; column < columns; ++column) {
    if (IsColumnExcludedFromExport(unsigned(GetColumnIndexFromOrder(column)))) {
      found[size_t(column)] = kExportColumnExcluded;
      continue;
    }
    headers[size_t(column)] = GetColumnHeaderText(column);
    uint32_t width = CharacterCount(headers[size_t(column)]);
    for (long row = 0; row < rows; ++row)
      width = std::max(width, CharacterCount(GetExportCellText(row, column)));
    found[size_t(column)] = width;
  }
  if (widths != nullptr) *widths = std::move(found);
  if (names != nullptr) *names = std::move(headers);
  return true;
}

std::string CZORMListCtrl::GetExportCellText(long row, int column) const {
  return GetItemText(row, column).utf8_string();
}
