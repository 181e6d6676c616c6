// Fitting the columns of a 40,000-row change history (the upgrade dialog's own
// list) to their widest cells, under a real X display: the list's
// AutoSizeColumns, which takes every row into account, beside wx's own
// auto-sizing, which samples a long list, and beside laying out every cell's
// text, the plain way to be exact. The rows are those of bench/changelog_40k.sql;
// the longest description sits in the middle of the list.
//
// Goal: exact widths (the description column at least as wide as the widest
// text laid out) for under a tenth of what laying out every cell costs. wx's own
// is quick because it looks at a few rows, and comes out too narrow here.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/imaglist.h>
#include <wx/init.h>

#include <algorithm>
#include <string>

#include "app/rss_list_ctrl.h"

namespace {

constexpr long kRows = 40000;

CRSSListCtrl* List() {
  static CRSSListCtrl* list = [] {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(960, 480));
    auto* made = new CRSSListCtrl;
    made->Create(frame, wxID_ANY, wxPoint(0, 0), wxSize(900, 400), wxLC_REPORT | wxLC_VIRTUAL);
    made->InsertColumn(0, "Type", wxLIST_FORMAT_LEFT, 120);
    made->InsertColumn(1, "Date", wxLIST_FORMAT_LEFT, 120);
    made->InsertColumn(2, "Description", wxLIST_FORMAT_LEFT, 1);
    static wxImageList images(16, 16, true, 2);
    images.Add(wxBitmap(16, 16));
    images.Add(wxBitmap(16, 16));
    made->SetImageList(&images, wxIMAGE_LIST_SMALL);
    CRSS& rss = made->m_rss;
    const OleDate last = OleDate::FromParts(2021, 7, 5);
    for (long i = 1; i <= kRows; ++i) {
      CRSSItem item;
      item.m_nType = i % 3 != 0;
      item.m_dtDate = OleDate(last.days() - double(i % 5000) / 24);
      item.m_strDescription = "Change number " + std::to_string(i) +
                              ": scanning, labels & totals reworked for the warehouse";
      if (i == kRows / 2) item.m_strDescription += " at Caf\u00e9 Z\u00fcrich";
      rss.m_items.push_back(std::move(item));
    }
    for (CRSSItem& item : rss.m_items) rss.m_rows.push_back(&item);
    made->SetItemCount(kRows);
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
  CRSSListCtrl* list = List();
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
