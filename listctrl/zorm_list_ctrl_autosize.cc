// Auto-sizing the columns of a virtual list through one drawing context.
#include <wx/dcclient.h>
#include <wx/imaglist.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

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

// Laying out a text costs tens of microseconds, far too much for every row of a
// long list. In the Latin ranges a laid-out text is as wide as its characters'
// advances plus an adjustment for each pair of neighbours (kerning, two-letter
// ligatures), and those the estimator asks of the drawing context itself, once
// per character and per pair. So its estimate is the width up to rounding; a
// character outside those ranges (other scripts shape in context) makes the row
// one that must be laid out.
class TextWidthEstimator {
 public:
  static constexpr int kMustLayOut = INT_MAX;

  explicit TextWidthEstimator(wxDC& dc)
      : dc_(dc), advance_(kCodes, kUnmeasured), pair_(kCodes * kCodes, kUnmeasured) {}

  int Estimate(const wxString& text) {
    int width = 0;
    wxUint32 before = kCodes;
    for (wxUniChar c : text) {
      const wxUint32 code = c.GetValue();
      if (code >= kCodes) return kMustLayOut;
      int& advance = advance_[code];
      if (advance == kUnmeasured) advance = Extent(wxString(c));
      width += advance;
      if (before < kCodes) {
        int& pair = pair_[before * kCodes + code];
        if (pair == kUnmeasured)
          pair = Extent(wxString(wxUniChar(before)) + c) - advance_[before] - advance;
        width += pair;
      }
      before = code;
    }
    return width;
  }

 private:
  static constexpr wxUint32 kCodes = 0x180;  // Basic Latin to Latin Extended-A
  static constexpr int kUnmeasured = INT_MIN;

  int Extent(const wxString& text) { return dc_.GetTextExtent(text).x; }

  wxDC& dc_;
  std::vector<int> advance_;
  std::vector<int> pair_;
};

// Rounding may put a laid-out text a pixel off its estimate.
constexpr int kRoundingSlack = 1;

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

  auto image_part = [&](long row) {
    const int image = OnGetItemColumnImage(row, column);
    return image >= 0 ? ImageWidth(images, image) + kCellImageGap : 0;
  };
  // Every row is estimated; then rows are laid out from the widest estimate down,
  // one per estimate (rows estimated alike are alike wide), until no estimate
  // left can reach the widest cell laid out.
  TextWidthEstimator estimator(dc);
  auto may_reach = [&](int estimate) {
    return estimate == TextWidthEstimator::kMustLayOut || estimate >= widest - kRoundingSlack;
  };
  const long count = GetItemCount();
  std::vector<std::pair<int, long>> estimates;  // (estimate, row)
  estimates.reserve(static_cast<size_t>(std::max(count, 0L)));
  for (long row = 0; row < count; ++row) {
    int estimate = estimator.Estimate(OnGetItemText(row, column));
    if (estimate != TextWidthEstimator::kMustLayOut) estimate += image_part(row);
    if (may_reach(estimate)) estimates.emplace_back(estimate, row);
  }
  std::sort(estimates.begin(), estimates.end(), std::greater<>());
  int previous = INT_MIN;
  for (const auto& [estimate, row] : estimates) {
    if (!may_reach(estimate)) break;
    if (estimate == previous && estimate != TextWidthEstimator::kMustLayOut) continue;
    previous = estimate;
    const wxString text = OnGetItemText(row, column);
    widest = std::max(widest, image_part(row) + (text.empty() ? 0 : dc.GetTextExtent(text).x));
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
