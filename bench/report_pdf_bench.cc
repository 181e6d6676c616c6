// Hot paths of the PDF format: records drawn into a document, and the transcoding
// of every value for the standard fonts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/report.h"
#include "report/win_ansi.h"

namespace {

// A report of 8 columns, `state.range(0)` records, saved to /dev/null.
void BM_PdfReport(benchmark::State& state) {
  setenv("ZORMREPORTFORMAT", "pdf", 1);
  setenv("ZORMPDFOUTPUTPATH", "/dev/null", 1);
  unsetenv("REQUEST_URI");
  const int records = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Report report;
    InitReport(&report);
    for (const char* name : {"item", "warehouse", "shelf", "lot", "date", "price", "note"})
      report.AddColumn(10, name, 0);
    report.AddColumn(12, "quantity", ReportColumnFlag::Numeric | ReportColumnFlag::RightAlign);
    report.Header(nullptr, "Benchmark", "Sample data");
    for (int i = 1; i <= records; ++i) {
      report.AddRecord("ITEM-%06d|WH-%d|S%03d-%02d|L%07d|2021-03-%02d|%d.%02d|note %d|%d", i, i % 7,
                       i % 400, i % 13, i * 7, i % 28 + 1, i % 900, i % 100, i % 1000, i * 37);
    }
    report.Trailer();
    report.Close();
    if (report.pdf_save_result != 0) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_PdfReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Utf8ToWinAnsi(benchmark::State& state) {
  const std::string ascii = "ITEM-000123 Copper pipe 15 mm, Berlin";
  const std::string accented =
      "M\xC3\xBCller Stra\xC3\x9F"
      "e \xE2\x82\xAC 12 \xC3\xA9t\xC3\xA9";
  const std::string& text = state.range(0) == 0 ? ascii : accented;
  char out[128];
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToWinAnsi(text, out, sizeof out));
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_Utf8ToWinAnsi)->Arg(0)->Arg(1);

}  // namespace
