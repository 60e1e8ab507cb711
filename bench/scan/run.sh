#!/usr/bin/env bash
# Cataloguing a seeded 100,000-file tree through the new-disk window's start button (walk and catalogue,
# offscreen), against `find TREE -type f -printf '%s %p\n'` on the same tree, warm cache, in the same run.
# Prints both times (median of RUNS), their ratio (target: at most 1.5) and the scan's peak memory for
# two tree sizes (it must not grow with the number of files).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
files=${FILES:-100000}
small=${SMALL_FILES:-25000}
runs=${RUNS:-5}
seed=${SEED:-20240611}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_scan >/dev/null
program="$build/bench/scan/bench_scan"
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$program" generate "$work/big" "$files" "$seed"
"$program" generate "$work/small" "$small" "$seed"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now() { date +%s.%N; }

time_find() {
  local start end
  start=$(now)
  find "$1" -type f -printf '%s %p\n' >/dev/null
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# Warm the cache for both trees.
find "$work" -type f -printf '%s %p\n' >/dev/null
"$program" scan "$work/big" >/dev/null

find_times=() scan_times=() peak_big=0 recorded=0
for _ in $(seq "$runs"); do
  find_times+=("$(time_find "$work/big")")
  line=$("$program" scan "$work/big")
  scan_times+=("$(sed -E 's/.*seconds=([0-9.]+).*/\1/' <<<"$line")")
  recorded=$(sed -E 's/.*files=([0-9]+).*/\1/' <<<"$line")
  peak_big=$(sed -E 's/.*peak_kib=([0-9]+).*/\1/' <<<"$line")
done
peak_small=$("$program" scan "$work/small" | sed -E 's/.*peak_kib=([0-9]+).*/\1/')

find_s=$(printf '%s\n' "${find_times[@]}" | median)
scan_s=$(printf '%s\n' "${scan_times[@]}" | median)
printf 'tree: %d files (seed %s), %d recorded by the scan\n' "$files" "$seed" "$recorded"
printf 'find -type f -printf:          %.3f s (median of %d)\n' "$find_s" "$runs"
printf 'scan (window, walk, catalogue): %.3f s (median of %d)\n' "$scan_s" "$runs"
printf 'ratio scan/find:               %.2f (target <= 1.5)\n' "$(awk -v s="$scan_s" -v f="$find_s" 'BEGIN { print s / f }')"
printf 'peak memory of the scan:       %d KiB for %d files, %d KiB for %d files\n' \
  "$peak_small" "$small" "$peak_big" "$files"
