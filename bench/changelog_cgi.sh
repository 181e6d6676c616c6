#!/usr/bin/env bash
# Builds changelog.cgi and feed_read_bench for speed, then times both sides of a
# 40,000-item change history: the vendor's CGI writing the feed (processor time
# per run, mean of ZORM_BENCH_RUNS), and the utility's Read + Classify of that
# very feed (the median of as many fresh processes).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${ZORM_BENCH_RUNS:-15}

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORM_BENCH=ON -DZORM_TESTS=OFF >/dev/null
cmake --build build/bench --target changelog_cgi feed_read_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sqlite3 "$work/vendor.db" ".read tools/vendor_site/schema.sql" ".read tools/vendor_site/sample.sql" \
  ".read bench/changelog_40k.sql"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ZORMVENDORDB="$work/vendor.db" QUERY_STRING=Module=BENCH40K REQUEST_METHOD=GET \
  perf stat -x, -e task-clock -r "$runs" -o "$work/stat" \
  build/bench/tools/vendor_site/changelog.cgi > /dev/null
ZORMVENDORDB="$work/vendor.db" QUERY_STRING=Module=BENCH40K REQUEST_METHOD=GET \
  build/bench/tools/vendor_site/changelog.cgi > "$work/feed.xml"
echo "changelog.cgi, 40,000 items ($(( $(stat -c %s "$work/feed.xml") / 1000 )) kB):" \
  "$(awk -F, '/task-clock/ { printf "%.1f", $1 }' "$work/stat") ms processor time" \
  "(mean of $runs, perf stat)"

for _ in $(seq "$runs"); do
  build/bench/bench/feed_read_bench --read-once "$work/feed.xml" | awk '{ print $1 * 1000 }'
done | median > "$work/read_ms"
echo "CRSS::Read + Classify of that feed: $(cat "$work/read_ms") ms processor time (median of $runs)"
