#!/usr/bin/env bash
# Installs what the project needs, builds it, and runs the main job: the report
# writer `zormreport` renders a sample stock report (format from ZORMREPORTFORMAT,
# text by default). Arguments are passed to zormreport.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORM_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target zormreport
exec build/run/tools/zormreport/zormreport --title "Stock on hand" --notes "Sample data" \
  --column Item:24 --column Warehouse:12 --column Quantity:10:rn \
  --input tools/zormreport/sample-stock.txt "$@"
