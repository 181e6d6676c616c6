#!/usr/bin/env bash
# Builds the list command benchmark for speed and runs it in a private X server:
# select all, invert, random half and column copy on a virtual list of 1,000,000
# rows, beside selecting one row.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target list_commands_bench >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench/list_commands_bench
