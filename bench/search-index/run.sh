#!/usr/bin/env bash
# The path index against the plain table scan, in one run per catalogue size: search latency (common,
# rare, missing, long, wildcard, 2-character and one-disc searches), catalogue size with and without the
# index, the index build when a version-1 catalogue is first opened, and adding and removing a 5,000-file
# disc. Sizes default to 1,000,000 and 10,000,000 rows (run by hand: the 10M catalogue takes minutes to
# make and about 2 GB under $BENCH_DIR, default /tmp/vt-bench-search-index, kept for later runs).
#   bash bench/search-index/run.sh [rows ...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
work=${BENCH_DIR:-/tmp/vt-bench-search-index}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_search_index >/dev/null
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000000 10000000)
for rows in "${sizes[@]}"; do
  QT_QPA_PLATFORM=offscreen "$build/bench/search-index/bench_search_index" "$rows" "$work"
  echo
done
