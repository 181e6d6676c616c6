#!/usr/bin/env bash
# Builds zormreport for speed and writes the same records as a workbook, beside
# openpyxl's write-only mode, in one run: records per second, peak memory and the
# ratio. Goal: at least 5 times openpyxl, under 50 MB peak. Both workbooks are
# checked to be whole zip files. ZORM_BENCH_RECORDS changes the record count
# (1,000,000 by default; a sheet holds at most 1,048,575 records). The machine may
# be shared, so each writer runs ZORM_BENCH_RUNS times (2 by default), taking turns,
# and its fastest run counts; the CPU seconds of that run are shown beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
records=${ZORM_BENCH_RECORDS:-1000000}
runs=${ZORM_BENCH_RUNS:-2}
python=/usr/bin/python3

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target zormreport report_excel_bench >/dev/null
zormreport=build/bench/tools/zormreport/zormreport

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
$python bench/python_writers.py make "$records" > "$work/records.txt"
echo "$records records of 8 columns, $(( $(stat -c %s "$work/records.txt") / records )) bytes each"

# measure NAME COMMAND...: runs the command; keeps the fastest run of NAME in
# seconds[NAME], cpu[NAME] (user + system) and peak[NAME] (largest of all runs).
declare -A seconds cpu peak
measure() {
  local name=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null
  read -r wall user system peak_kb < "$work/time"
  if [ -z "${seconds[$name]:-}" ] || awk -v a="$wall" -v b="${seconds[$name]}" 'BEGIN { exit !(a < b) }'; then
    seconds[$name]=$wall
    cpu[$name]=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  fi
  if [ -z "${peak[$name]:-}" ] || [ "$peak_kb" -gt "${peak[$name]}" ]; then peak[$name]=$peak_kb; fi
}
rate_of() { awk -v n="$records" -v s="$1" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }'; }

columns=()
for name in item warehouse shelf lot date price note; do columns+=(--column "$name:10"); done
columns+=(--column quantity:12:rn)

for run in $(seq "$runs"); do
  measure zormreport env TMPDIR="$work" ZORMREPORTFORMAT=excel \
    ZORMEXCELOUTPUTPATH="$work/zormreport.xlsx" \
    "$zormreport" --title Benchmark "${columns[@]}" --input "$work/records.txt"
  measure openpyxl $python bench/openpyxl_writer.py "$work/records.txt" "$work/openpyxl.xlsx"
done
z_rate=$(rate_of "${seconds[zormreport]}") o_rate=$(rate_of "${seconds[openpyxl]}")
z_peak=${peak[zormreport]}

for file in zormreport openpyxl; do
  $python -c 'import sys, zipfile; bad = zipfile.ZipFile(sys.argv[1]).testzip(); sys.exit(bad is not None)' \
    "$work/$file.xlsx" || { echo "$file.xlsx is not a whole zip file"; exit 1; }
done

echo "best of $runs runs each; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '\n%-22s %9s %9s %12s %9s %10s\n' writer seconds "cpu s" records/s "peak MB" "file MB"
for name in zormreport openpyxl; do
  label=$([ $name = zormreport ] && echo "zormreport (excel)" || echo "openpyxl write-only")
  printf '%-22s %9s %9s %12s %9.1f %10.1f\n' "$label" "${seconds[$name]}" "${cpu[$name]}" \
    "$(rate_of "${seconds[$name]}")" "$(awk -v k="${peak[$name]}" 'BEGIN { print k / 1024 }')" \
    "$(awk -v b="$(stat -c %s "$work/$name.xlsx")" 'BEGIN { print b / 1048576 }')"
done
awk -v a="$z_rate" -v b="$o_rate" -v m="$z_peak" 'BEGIN {
  printf "\nratio: %.1fx openpyxl write-only; goal >= 5x and < 50 MB peak: %s\n",
    a / b, (a >= 5 * b && m < 50 * 1024) ? "met" : "MISSED" }'

echo
build/bench/bench/report_excel_bench --benchmark_min_time=0.5 2>/dev/null
