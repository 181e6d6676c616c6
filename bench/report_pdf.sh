#!/usr/bin/env bash
# Builds zormreport for speed and writes the same records as a PDF report beside
# ReportLab drawing the same strings and shaded rows per page (bench/reportlab_writer.py),
# in one run: records per second, peak memory and the ratio.
# Goals: at least 3 times ReportLab's records per second, under 400 MB peak.
# ZORM_BENCH_RECORDS changes the record count (default 100000), ZORM_BENCH_RUNS the
# number of runs of each writer (default 3; the best run counts, the highest peak).
set -euo pipefail
cd "$(dirname "$0")/.."
records=${ZORM_BENCH_RECORDS:-100000}
python=/usr/bin/python3

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target zormreport >/dev/null
zormreport=build/bench/tools/zormreport/zormreport

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
$python bench/reportlab_writer.py make "$records" > "$work/records.txt"
echo "$records records of 8 columns, $(( $(stat -c %s "$work/records.txt") / records )) bytes each"

# measure NAME COMMAND...: runs the command and keeps its best run so far: rate by
# elapsed time, processor seconds (user + system: steadier on a shared machine) and
# peak memory. Each writer runs $runs times, the two taking turns.
runs=${ZORM_BENCH_RUNS:-3}
declare -A rate cpu peak size
measure() {
  local name=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null
  read -r seconds user system peak_kb < "$work/time"
  local this_rate this_cpu
  this_rate=$(awk -v n="$records" -v s="$seconds" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }')
  this_cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  if [ -z "${rate[$name]:-}" ] || [ "$this_rate" -gt "${rate[$name]}" ]; then rate[$name]=$this_rate; fi
  if [ -z "${cpu[$name]:-}" ] || awk -v a="$this_cpu" -v b="${cpu[$name]}" 'BEGIN { exit !(a < b) }'; then
    cpu[$name]=$this_cpu
  fi
  if [ -z "${peak[$name]:-}" ] || [ "$peak_kb" -gt "${peak[$name]}" ]; then peak[$name]=$peak_kb; fi
}

columns=()
for name in item warehouse shelf lot date price note; do columns+=(--column "$name:10"); done
columns+=(--column quantity:12:rn)
for ((run = 1; run <= runs; run++)); do
  measure zormreport env TZ=UTC ZORMREPORTFORMAT=pdf ZORMPDFOUTPUTPATH="$work/zormreport.pdf" \
    "$zormreport" --title Benchmark --notes "Sample data" "${columns[@]}" --input "$work/records.txt"
  measure reportlab env TZ=UTC $python bench/reportlab_writer.py draw "$work/records.txt" \
    "$work/reportlab.pdf"
done
size[zormreport]=$(stat -c %s "$work/zormreport.pdf")
size[reportlab]=$(stat -c %s "$work/reportlab.pdf")

pages() { pdfinfo "$1" | awk '/^Pages:/ { print $2 }'; }
printf '\n%-12s %12s %9s %9s %7s %9s   (best of %s runs)\n' writer records/s "cpu s" "peak MB" pages "file MB" "$runs"
for name in zormreport reportlab; do
  printf '%-12s %12s %9s %9.1f %7s %9.1f\n' "$name" "${rate[$name]}" "${cpu[$name]}" \
    "$(awk -v k="${peak[$name]}" 'BEGIN { print k / 1024 }')" "$(pages "$work/$name.pdf")" \
    "$(awk -v b="${size[$name]}" 'BEGIN { print b / 1048576 }')"
done
ratio=$(awk -v a="${rate[zormreport]}" -v b="${rate[reportlab]}" 'BEGIN { printf "%.1f", a / b }')
cpu_ratio=$(awk -v a="${cpu[zormreport]}" -v b="${cpu[reportlab]}" 'BEGIN { printf "%.1f", b / (a > 0 ? a : 0.01) }')
peak_mb=$(awk -v k="${peak[zormreport]}" 'BEGIN { printf "%.1f", k / 1024 }')
verdict=$(awk -v r="$ratio" -v m="$peak_mb" 'BEGIN { print (r >= 3 && m < 400) ? "met" : "NOT met" }')
echo
echo "zormreport / reportlab: ${ratio}x records/s (goal >= 3x; ${cpu_ratio}x by processor time)," \
  "peak ${peak_mb} MB (goal < 400 MB): $verdict"
