// The report writer's hot path: AddRecord of an 8-column record in each character
// format, written to /dev/null.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "report/report.h"

namespace {

void AddRecord(benchmark::State& state) {
  const ReportFormat format = static_cast<ReportFormat>(state.range(0));
  FILE* null = fopen("/dev/null", "w");
  Report report;
  InitReport(&report);
  report.format = format;
  report.output = null;
  for (int i = 0; i < 8; ++i) {
    char name[16];
    snprintf(name, sizeof name, "Column %d", i + 1);
    report.AddColumn(10, name, i == 7 ? ReportColumnFlag::Numeric | ReportColumnFlag::RightAlign : 0);
  }
  report.Header(nullptr, "Benchmark", nullptr);
  for (auto _ : state)
    report.AddRecord("%s", "item-00042|Berlin-Mit|warehouse7|shelf-0012|2021-03-04|EUR 12.50|"
                           "\"quoted\" |1234567890");
  report.Trailer();
  report.Close();
  fclose(null);
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(AddRecord)
    ->ArgName("format")
    ->Arg(static_cast<int>(ReportFormat::Text))
    ->Arg(static_cast<int>(ReportFormat::Csv))
    ->Arg(static_cast<int>(ReportFormat::Html))
    ->Arg(static_cast<int>(ReportFormat::Json));
