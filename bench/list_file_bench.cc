// Reading a list file of 100,000 rows of five columns, as zormlist does at start
// and on every reload; the goal is well under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "tools/zormlist/list_file.h"

namespace {

std::string PartsFile(int rows) {
  std::string text = "Part|Description|Supplier|Quantity|Price\r\n";
  for (int i = 0; i < rows; ++i) {
    text += "P-" + std::to_string(i) + "|Hex bolt M8 x 40, zinc plated|Würth Industrie Service|" +
            std::to_string(i % 5000) + "|0.18\r\n";
  }
  return text;
}

void BM_ParseListFile(benchmark::State& state) {
  const std::string text = PartsFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ListFile file;
    benchmark::DoNotOptimize(ParseListFile(text, "parts.txt", &file));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseListFile)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
