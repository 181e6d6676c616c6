#!/usr/bin/env bash
# Installs what the project needs, then builds and runs every test: the whole suite
# (GUI tests in an Xvfb server) once normally and once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a short fixed run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh

jobs=$(nproc)
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export CTEST_OUTPUT_ON_FAILURE=1

# run_suite BUILD_DIR: the tests without a window in parallel, then the GUI tests
# one at a time, since they share one screen and its keyboard focus.
run_suite() {
  local dir=$1
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" -LE gui -j"$jobs" --timeout 600
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" -L gui -j1 --timeout 600
}

echo "== Build and test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j"$jobs"
run_suite build/test

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORM_SANITIZE=ON
cmake --build build/sanitize -j"$jobs"
# GTK and fontconfig keep caches for the life of the process; their leaks are not ours.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build/sanitize
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== Fuzz targets, ${ZORM_FUZZ_SECONDS:=20} seconds each"
CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORM_FUZZ=ON -DZORM_TESTS=OFF
cmake --build build/fuzz -j"$jobs" --target fuzz_all
while read -r target; do
  [ -n "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  echo "-- $name"
  "$target" -max_total_time="$ZORM_FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$corpus" 2> "build/fuzz/$name.log" ||
    { tail -50 "build/fuzz/$name.log"; rm -rf "$corpus"; exit 1; }
  tail -1 "build/fuzz/$name.log"
  rm -rf "$corpus"
done < build/fuzz/fuzz_targets.txt

echo "== All tests passed"
