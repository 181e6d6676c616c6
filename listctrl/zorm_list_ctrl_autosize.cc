// Auto-sizing the columns of a virtual list through one drawing context.
#include <wx/dcclient.h>
#include <wx/imaglist.h>

#include <algorithm>

#include "listctrl/zorm_list_ctrl.h"

namespace {

// The margins the list adds, as its own auto-sizing does on this toolkit: slack
// after the widest text, padding around a heading, the gap after an image.
constexpr int kAutosizeMargin = 10;
constexpr int kHeadingPadding = 2 * 6;
constexpr int kCellImageGap = 5;
constexpr int kHeadingImageGap = 2;

int ImageWidth(const wxImageList* images, int image) {
  if (images == nullptr || image < 0) return 0;
  int width = 0, height = 0;
  return images->GetSize(image, width, height) ? width : 0;
}

}  // namespace

int CZORMListCtrl::FittingVirtualColumnWidth(int column) const {
  wxWindow* rows = GetMainWindow();
  if (rows == nullptr) return GetColumnWidth(column);
  wxClientDC dc(rows);
  dc.SetFont(rows->GetFont());
  const wxImageList* images = GetImageList(wxIMAGE_LIST_SMALL);

  wxListItem heading;
  heading.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_IMAGE);
  GetColumn(column, heading);
  int widest = std::max(kAutosizeMargin, dc.GetTextExtent(heading.GetText()).x + kAutosizeMargin +
                                             kHeadingPadding);
  if (const int image = ImageWidth(images, heading.GetImage())) widest += image + kHeadingImageGap;

  auto measure = [&](long row) {
    const int image = OnGetItemColumnImage(row, column);
    int width = 0;
    if (image >= 0) width += ImageWidth(images, image) + kCellImageGap;
    const wxString text = OnGetItemText(row, column);
    if (!text.empty()) width += dc.GetTextExtent(text).x;
    widest = std::max(widest, width);
  };
  const long count = GetItemCount();
  if (count <= 2 * kMeasuredRowsAtEachEnd) {
    for (long row = 0; row < count; ++row) measure(row);
  } else {
    for (long row = 0; row < kMeasuredRowsAtEachEnd; ++row) measure(row);
    for (long row = count - kMeasuredRowsAtEachEnd; row < count; ++row) measure(row);
    const long top = std::max(GetTopItem(), kMeasuredRowsAtEachEnd);
    const long bottom = std::min(GetTopItem() + GetCountPerPage() + 1, count - kMeasuredRowsAtEachEnd);
    for (long row = top; row < bottom; ++row) measure(row);
  }
  int width = widest + kAutosizeMargin;

  // The last column of a list with rows reaches to the right edge of the list.
  if (column == GetColumnCount() - 1 && count > 0) {
    int rest = rows->GetClientSize().x;
    for (int before = 0; before < column && rest > 0; ++before) rest -= GetColumnWidth(before);
    width = std::max(width, rest);
  }
  return width;
}
