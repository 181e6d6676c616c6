// Fitting the columns of a 40,000-row virtual list (a change history) to their
// widest cells, under a real X display: the list's AutoSizeColumns, which takes
// every row into account, beside wx's own auto-sizing, which samples a long list,
// and beside laying out every cell's text, the plain way to be exact. The
// longest description sits in the middle of the list.
//
// Goal: exact widths (the description column at least as wide as the widest
// text laid out) for under a tenth of what laying out every cell costs. wx's own
// is quick because it looks at a few rows, and comes out too narrow here.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>

#include "listctrl/zorm_list_ctrl.h"

namespace {

constexpr long kRows = 40000;

class HistoryList : public CZORMListCtrl {
 public:
  explicit HistoryList(wxWindow* parent)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(0, 0), wxSize(900, 400),
                      wxLC_REPORT | wxLC_VIRTUAL) {
    AppendColumn("Type", wxLIST_FORMAT_LEFT, 120);
    AppendColumn("Date", wxLIST_FORMAT_LEFT, 120);
    AppendColumn("Description", wxLIST_FORMAT_LEFT, 1);
    SetItemCount(kRows);
  }

 protected:
  wxString GetCellText(long item, long column) const override {
    if (column == 0) return item % 3 == 0 ? "Fix" : "Enhancement";
    if (column == 1) return wxString::Format("2021-%02ld-%02ld", 1 + item % 12, 1 + item % 28);
    return wxString::Format("Change number %ld: scanning, labels & totals reworked%s", item,
                            item == kRows / 2 ? " for the warehouse at Caf\u00e9 Z\u00fcrich" : "");
  }
};

HistoryList* List() {
  static HistoryList* list = [] {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(960, 480));
    auto* made = new HistoryList(frame);
    frame->Show();
    return made;
  }();
  return list;
}

void BM_AutoSizeColumnsEveryRow(benchmark::State& state) {
  for (auto _ : state) List()->AutoSizeColumns();
  state.counters["description_px"] = List()->GetColumnWidth(2);
}
BENCHMARK(BM_AutoSizeColumnsEveryRow)->Unit(benchmark::kMillisecond);

void BM_WxAutoSizeSampled(benchmark::State& state) {
  for (auto _ : state)
    for (int column = 0; column < 3; ++column)
      List()->SetColumnWidth(column, wxLIST_AUTOSIZE_USEHEADER);
  state.counters["description_px"] = List()->GetColumnWidth(2);
}
BENCHMARK(BM_WxAutoSizeSampled)->Unit(benchmark::kMillisecond);

void BM_LayOutEveryCell(benchmark::State& state) {
  HistoryList* list = List();
  int widest = 0;
  for (auto _ : state) {
    wxWindow* rows = list->GetTargetWindow();
    wxClientDC dc(rows);
    dc.SetFont(rows->GetFont());
    for (int column = 0; column < 3; ++column)
      for (long row = 0; row < kRows; ++row)
        widest = std::max(widest, dc.GetTextExtent(list->GetItemText(row, column)).x);
  }
  state.counters["widest_text_px"] = widest;
}
BENCHMARK(BM_LayOutEveryCell)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) return 1;  // needs DISPLAY
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  wxEntryCleanup();
  return 0;
}
