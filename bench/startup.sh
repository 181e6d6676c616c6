#!/usr/bin/env bash
# Start-up of the upgrade utility, from starting it to its dialog shown with the
# event loop running, beside a bare wxWidgets program that only shows an empty
# dialog, measured in the same run: median over ZORM_BENCH_RUNS runs (11 by
# default) each, taking turns. The utility fetches its change history from the
# vendor's site on loopback and asks the update server (the same site) for a newer
# release, as it does for a user. Goals: at most 1.5 times the bare start-up with
# a 20-item feed, at most 2 times with a 40,000-item feed. Beside the seconds it
# shows each program's processor time (all threads, user and system, to its end
# right after the dialog showed): the wall time's ratios shift with the machine's
# cores and its cost of a page fault, the processor time is the work itself.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/vendor_site/site.sh
. scripts/lib/xvfb.sh
runs=${ZORM_BENCH_RUNS:-11}

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target calvaro-upgrade window_shown_timer bare_dialog \
  changelog_cgi version_cgi >/dev/null
build=$(pwd)/build/bench

state=$(mktemp -d "${TMPDIR:-/tmp}/calvaro-startup-XXXXXX")
trap 'kill ${VENDOR_PID:-} ${XVFB_PID:-} 2>/dev/null; wait 2>/dev/null; rm -rf "$state"' EXIT
# The utility keeps its run statistics in the profile: a home of its own.
export HOME=$state/home XDG_CONFIG_HOME=$state/home/config XDG_DATA_HOME=$state/home/data \
  XDG_CONFIG_DIRS=$state/home/etc-xdg TMPDIR=$state/home/tmp
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_DIRS" "$TMPDIR"

vendor_site_start "$build" "$state" "$(pwd)/bench/changelog_40k.sql"
export ZORMVENDORSERVER=127.0.0.1:$VENDOR_PORT ZORMUPDATESERVER=127.0.0.1:$VENDOR_PORT
private_xvfb_start "$state"
for module in BENCH20 BENCH40K; do
  count=$(curl -s "http://$ZORMVENDORSERVER/cgi/changelog.cgi?Module=$module" | grep -c '<item>' || true)
  echo "$module feed: $count items"
done

timer=$build/bench/window_shown_timer
title="Calvaro Upgrade Utility"
declare -A times cpu
measure() {
  local name=$1 wall used
  shift
  read -r wall used < <("$timer" "$title" "$@")
  times[$name]+="$wall "
  cpu[$name]+="$used "
}
for _ in $(seq "$runs"); do
  measure bare "$build/bench/bare_dialog"
  measure feed20 "$build/app/calvaro-upgrade" BENCH20 "Jul  5 2021" "$state/abc.msi"
  measure feed40k "$build/app/calvaro-upgrade" BENCH40K "Jul  5 2021" "$state/abc.msi"
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

bare=$(median "${times[bare]}")
bare_cpu=$(median "${cpu[bare]}")
echo "median of $runs runs each; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '\n%-34s %9s %7s %6s %9s %7s\n' program seconds ratio goal "cpu s" ratio
printf '%-34s %9.3f %7s %6s %9.3f %7s\n' "bare wx dialog" "$bare" 1.00 "" "$bare_cpu" 1.00
status=0
for case in "feed20 20-item feed 1.5" "feed40k 40,000-item feed 2.0"; do
  read -r name label1 label2 goal <<<"$case"
  seconds=$(median "${times[$name]}")
  ratio=$(awk -v a="$seconds" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')
  used=$(median "${cpu[$name]}")
  printf '%-34s %9.3f %7s %6s %9.3f %7.2f\n' "calvaro-upgrade, $label1 $label2" "$seconds" \
    "$ratio" "<=$goal" "$used" "$(awk -v a="$used" -v b="$bare_cpu" 'BEGIN { print a / b }')"
  awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }' || status=1
done
[ $status -eq 0 ] && echo "goals met" || echo "goal missed"
exit $status
