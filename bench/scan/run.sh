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
field() { sed -E "s/.*$1=([0-9.]+).*/\1/"; }

# Prints "wall cpu" seconds of one find over the tree.
time_find() {
  local TIMEFORMAT='%R %U %S'
  { time find "$1" -type f -printf '%s %p\n' >/dev/null; } 2>&1 | awk '{ print $1, $2 + $3 }'
}

# Warm the cache for both trees.
find "$work" -type f -printf '%s %p\n' >/dev/null
"$program" scan "$work/big" >/dev/null 2>&1

find_wall=() find_cpu=() scan_wall=() scan_cpu=() peak_big=0 recorded=0
for _ in $(seq "$runs"); do
  read -r wall cpu < <(time_find "$work/big")
  find_wall+=("$wall") find_cpu+=("$cpu")
  line=$("$program" scan "$work/big" 2>/dev/null)
  scan_wall+=("$(field seconds <<<"$line")") scan_cpu+=("$(field cpu <<<"$line")")
  recorded=$(field files <<<"$line")
  peak_big=$(field peak_kib <<<"$line")
done
peak_small=$("$program" scan "$work/small" 2>/dev/null | field peak_kib)

fw=$(printf '%s\n' "${find_wall[@]}" | median) fc=$(printf '%s\n' "${find_cpu[@]}" | median)
sw=$(printf '%s\n' "${scan_wall[@]}" | median) sc=$(printf '%s\n' "${scan_cpu[@]}" | median)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'tree: %d files (seed %s), %d recorded by the scan; medians of %d runs, warm cache\n' \
  "$files" "$seed" "$recorded" "$runs"
printf '                                   wall      cpu (user+sys)\n'
printf 'find -type f -printf:            %6.3f s  %6.3f s\n' "$fw" "$fc"
printf 'scan (window, walk, catalogue):  %6.3f s  %6.3f s\n' "$sw" "$sc"
printf 'ratio scan/find:                 %6s    %6s    (target <= 1.5)\n' "$(ratio "$sw" "$fw")" "$(ratio "$sc" "$fc")"
printf 'peak memory of the scan:         %d KiB for %d files, %d KiB for %d files\n' \
  "$peak_small" "$small" "$peak_big" "$files"
