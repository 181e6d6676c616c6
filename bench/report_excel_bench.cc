// The workbook format's hot paths: AddRecord of an 8-column record into a sheet
// (the workbook is assembled once at the end, after the timed loop), and the repair
// of one cell text.
#include <benchmark/benchmark.h>

#include <string>

#include "report/report.h"
#include "report/workbook_text.h"

namespace {

void ExcelAddRecord(benchmark::State& state) {
  setenv("ZORMEXCELOUTPUTPATH", "/dev/null", 1);
  Report report;
  InitReport(&report);
  report.format = ReportFormat::Excel;
  for (int i = 0; i < 8; ++i) {
    std::string name = "Column " + std::to_string(i + 1);
    report.AddColumn(10, name.c_str(), i == 7 ? ReportColumnFlag::Numeric : 0);
  }
  report.Header(nullptr, "Benchmark", nullptr);
  for (auto _ : state) {
    // A sheet holds 1,048,575 records; start a new one before it is full.
    if (report.record_counter == 1000000) {
      report.Separator();
      report.Header(nullptr, "Benchmark", nullptr);
    }
    report.AddRecord("%s", "item-00042|Berlin-Mit|warehouse7|shelf-0012|2021-03-04|EUR 12.50|"
                           "\"quoted\" |1234567890");
  }
  report.Close();  // after the timed loop: assembling the workbook is not counted
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ExcelAddRecord);

void CellText(benchmark::State& state) {
  const std::string value = state.range(0) == 0 ? "Copper pipe 15 mm, Berlin warehouse"
                                                : "Caf\xC3\xA9 \xE2\x82\xAC 12,50 \x01 _x0041_";
  std::string out;
  for (auto _ : state) {
    AssignWorkbookCellText(value, &out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * value.size());
}
BENCHMARK(CellText)->ArgName("unusual")->Arg(0)->Arg(1);

}  // namespace
