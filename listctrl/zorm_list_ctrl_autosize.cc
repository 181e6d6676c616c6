// Auto-sizing the columns of a virtual list through one drawing context.
#include <wx/dcclient.h>
#include <wx/imaglist.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listctrl/zorm_list_ctrl.h"
#include "util/utf8.h"

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
// character outside those ranges (other scripts shape in context) or bytes that
// are not UTF-8 make the row one that must be laid out.
class TextWidthEstimator {
 public:
  static constexpr int kMustLayOut = INT_MAX;

  explicit TextWidthEstimator(wxDC& dc) : dc_(dc), step_((kCodes + 1) * kCodes, kUnmeasured) {}

  // Runs once per cell of the column: kept to table look-ups for the ASCII that
  // most texts are.
  int Estimate(std::string_view text) {
    const int* const steps = step_.data();
    int width = 0;
    char32_t before = kCodes;
    for (size_t at = 0; at < text.size();) {
      char32_t code = static_cast<unsigned char>(text[at]);
      if (code < 0x80) {
        ++at;
      } else {
        size_t next = at;
        code = DecodeUtf8(text, &next);
        if (code >= kCodes) return kMustLayOut;  // also kUtf8Invalid
        at = next;
      }
      const int step = steps[before * kCodes + code];
      width += step != kUnmeasured ? step : Measure(before, code);
      before = code;
    }
    return width;
  }

 private:
  static constexpr char32_t kCodes = 0x180;  // Basic Latin to Latin Extended-A
  static constexpr int kUnmeasured = INT_MIN;

  // What `code` adds after `before`: its advance and the pair's adjustment, which
  // is the pair's extent less the advance of `before`. Row kCodes of the table
  // holds the plain advances, for a character with nothing before it.
  int Step(char32_t before, char32_t code) {
    const int step = step_[before * kCodes + code];
    return step != kUnmeasured ? step : Measure(before, code);
  }
  [[gnu::noinline]] int Measure(char32_t before, char32_t code) {
    const wxString text(wxUniChar(static_cast<wxUint32>(code)));
    return step_[before * kCodes + code] =
               before == kCodes
                   ? Extent(text)
                   : Extent(wxString(wxUniChar(static_cast<wxUint32>(before))) + text) -
                         Step(kCodes, before);
  }

  int Extent(const wxString& text) { return dc_.GetTextExtent(text).x; }

  wxDC& dc_;
  std::vector<int> step_;  // by before * kCodes + code
};

// Rounding may put a laid-out text a pixel off its estimate.
constexpr int kRoundingSlack = 1;

// Up to this many rows, laying out each cell costs less than measuring the
// characters and pairs an estimate needs.
constexpr long kRowsLaidOutEach = 50;

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
  const long own = GetColumnIndexFromOrder(column);
  const long count = GetItemCount();
  auto lay_out = [&](long row) {
    const wxString text = OnGetItemText(row, column);
    widest = std::max(widest, image_part(row) + (text.empty() ? 0 : dc.GetTextExtent(text).x));
  };
  if (count <= kRowsLaidOutEach) {
    for (long row = 0; row < count; ++row) lay_out(row);
  } else {
    // Every row is estimated, and only the rows that may turn out the widest are
    // kept: those that must be laid out, and one row per estimate (rows estimated
    // alike are alike wide) from the highest estimate down to two slacks below it,
    // since laying out the highest puts the widest within one slack of it. They are
    // laid out from the widest estimate down until no estimate left can reach the
    // widest cell laid out.
    TextWidthEstimator estimator(dc);
    std::vector<long> must_lay_out;
    std::vector<std::pair<int, long>> candidates;  // (estimate, its last row); a few at most
    int lowest = widest - kRoundingSlack;          // the lowest estimate that may still count
    std::string buffer;
    for (long row = 0; row < count; ++row) {
      int estimate = estimator.Estimate(GetCellTextUtf8(row, own, &buffer));
      if (estimate == TextWidthEstimator::kMustLayOut) {
        must_lay_out.push_back(row);
        continue;
      }
      estimate += image_part(row);
      if (estimate < lowest) continue;
      auto alike = std::find_if(candidates.begin(), candidates.end(),
                                [&](const auto& candidate) { return candidate.first == estimate; });
      if (alike != candidates.end()) {
        alike->second = row;
        continue;
      }
      candidates.emplace_back(estimate, row);
      if (estimate - 2 * kRoundingSlack > lowest) {
        lowest = estimate - 2 * kRoundingSlack;
        std::erase_if(candidates, [&](const auto& candidate) { return candidate.first < lowest; });
      }
    }
    for (long row : must_lay_out) lay_out(row);
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    for (const auto& [estimate, row] : candidates) {
      if (estimate < widest - kRoundingSlack) break;
      lay_out(row);
    }
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
