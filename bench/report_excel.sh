#!/usr/bin/env bash
# Builds zormreport for speed and writes the same records as a workbook, beside
# openpyxl's write-only mode, in one run: records per second, peak memory and the
# ratio. Goal: at least 5 times openpyxl, under 50 MB peak. Both workbooks are
# checked to be whole zip files. ZORM_BENCH_RECORDS changes the record count
# (1,000,000 by default; a sheet holds at most 1,048,575 records).
set -euo pipefail
cd "$(dirname "$0")/.."
records=${ZORM_BENCH_RECORDS:-1000000}
python=/usr/bin/python3

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target zormreport report_excel_bench >/dev/null
zormreport=build/bench/tools/zormreport/zormreport

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
$python bench/python_writers.py make "$records" > "$work/records.txt"
echo "$records records of 8 columns, $(( $(stat -c %s "$work/records.txt") / records )) bytes each"

# measure COMMAND...: sets seconds and peak_kb.
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null
  read -r seconds peak_kb < "$work/time"
}
rate_of() { awk -v n="$records" -v s="$1" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }'; }

columns=()
for name in item warehouse shelf lot date price note; do columns+=(--column "$name:10"); done
columns+=(--column quantity:12:rn)

measure env TMPDIR="$work" ZORMREPORTFORMAT=excel ZORMEXCELOUTPUTPATH="$work/zormreport.xlsx" \
  "$zormreport" --title Benchmark "${columns[@]}" --input "$work/records.txt"
z_rate=$(rate_of "$seconds") z_peak=$peak_kb z_seconds=$seconds

measure $python bench/openpyxl_writer.py "$work/records.txt" "$work/openpyxl.xlsx"
o_rate=$(rate_of "$seconds") o_peak=$peak_kb o_seconds=$seconds

for file in zormreport openpyxl; do
  $python -c 'import sys, zipfile; bad = zipfile.ZipFile(sys.argv[1]).testzip(); sys.exit(bad is not None)' \
    "$work/$file.xlsx" || { echo "$file.xlsx is not a whole zip file"; exit 1; }
done

printf '\n%-22s %9s %12s %9s %10s\n' writer seconds records/s "peak MB" "file MB"
printf '%-22s %9s %12s %9.1f %10.1f\n' "zormreport (excel)" "$z_seconds" "$z_rate" \
  "$(awk -v k="$z_peak" 'BEGIN { print k / 1024 }')" \
  "$(awk -v b="$(stat -c %s "$work/zormreport.xlsx")" 'BEGIN { print b / 1048576 }')"
printf '%-22s %9s %12s %9.1f %10.1f\n' "openpyxl write-only" "$o_seconds" "$o_rate" \
  "$(awk -v k="$o_peak" 'BEGIN { print k / 1024 }')" \
  "$(awk -v b="$(stat -c %s "$work/openpyxl.xlsx")" 'BEGIN { print b / 1048576 }')"
awk -v a="$z_rate" -v b="$o_rate" -v m="$z_peak" 'BEGIN {
  printf "\nratio: %.1fx openpyxl write-only; goal >= 5x and < 50 MB peak: %s\n",
    a / b, (a >= 5 * b && m < 50 * 1024) ? "met" : "MISSED" }'

echo
build/bench/bench/report_excel_bench --benchmark_min_time=0.5 2>/dev/null
