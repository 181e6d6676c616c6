#!/usr/bin/env bash
# Builds zormreport for speed and writes the same records in each character format,
# beside Python's csv module and json.dump(indent=4), in one run: records per
# second, peak memory, and the ratio to the Python writer of the same kind.
# Goals: text and CSV at least 3 times Python csv, JSON at least 3 times Python json,
# zormreport under 50 MB peak. ZORM_BENCH_RECORDS changes the record count.
# Rates are computed from the processor time (user + system) of each run, so that
# other work on a shared machine does not change the ratios; wall seconds are shown
# beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
records=${ZORM_BENCH_RECORDS:-1000000}
python=/usr/bin/python3

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target zormreport report_formats_bench >/dev/null
zormreport=build/bench/tools/zormreport/zormreport

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
$python bench/python_writers.py make "$records" > "$work/records.txt"
echo "$records records of 8 columns, $(( $(stat -c %s "$work/records.txt") / records )) bytes each"

# measure COMMAND...: runs the command with output to /dev/null and sets seconds
# (processor time), wall and peak_kb.
measure() {
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null
  local user system
  read -r wall user system peak_kb < "$work/time"
  seconds=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
}

columns=()
for name in item warehouse shelf lot date price note; do columns+=(--column "$name:10"); done
columns+=(--column quantity:12:rn)

declare -A rate peak walls
for format in text csv html json; do
  measure env ZORMREPORTFORMAT=$format "$zormreport" --title Benchmark "${columns[@]}" \
    --input "$work/records.txt"
  rate[$format]=$(awk -v n="$records" -v s="$seconds" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }')
  peak[$format]=$peak_kb
  walls[$format]=$wall
done
for writer in csv json; do
  measure $python bench/python_writers.py "$writer" "$work/records.txt"
  rate[python-$writer]=$(awk -v n="$records" -v s="$seconds" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }')
  peak[python-$writer]=$peak_kb
  walls[python-$writer]=$wall
done

printf '\n%-14s %14s %8s %10s %18s %s\n' writer "records/s cpu" "wall s" "peak MB" "vs python" goal
row() {  # row NAME BASELINE
  local name=$1 baseline=$2 ratio="" goal=""
  if [ -n "$baseline" ] && [ "$name" != html ]; then
    ratio=$(awk -v a="${rate[$name]}" -v b="${rate[$baseline]}" 'BEGIN { printf "%.1fx %s", a / b, "'"$baseline"'" }')
    goal=$(awk -v a="${rate[$name]}" -v b="${rate[$baseline]}" -v m="${peak[$name]}" \
      'BEGIN { print (a >= 3 * b && m < 50 * 1024) ? "met" : "MISSED" }')
  fi
  printf '%-14s %14s %8s %10.1f %18s %s\n' "$name" "${rate[$name]}" "${walls[$name]}" \
    "$(awk -v k="${peak[$name]}" 'BEGIN { print k / 1024 }')" "$ratio" "$goal"
}
row text python-csv
row csv python-csv
row html ""
row json python-json
row python-csv ""
row python-json ""

echo
build/bench/bench/report_formats_bench --benchmark_min_time=0.5 2>/dev/null
