#!/usr/bin/env bash
# Builds the list filter benchmark for speed and runs it in a private X server:
# zormlist filtering 1,000,000 rows by one and by three extended patterns, beside
# the same fnmatch calls in a bare loop.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target list_filter_bench >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A private settings home: the list keeps its state there.
HOME=$home XDG_CONFIG_HOME=$home/c XDG_CONFIG_DIRS=$home/e TMPDIR=$home ZORMUPDATESERVER=127.0.0.1:9 \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench/list_filter_bench
