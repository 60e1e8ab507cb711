#!/usr/bin/env bash
# Listing a seeded 100,000-file disc image without mounting it (DiscImage: libarchive for ISO 9660, its own
# UDF reader) against libcdio's libiso9660 and libudf, `bsdtar -tvf IMAGE`, and `find` over the image
# mounted with fuseiso, warm cache, in the same run. Prints the median wall and CPU (user+sys) times of RUNS
# of each.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
files=${FILES:-100000}
runs=${RUNS:-5}
seed=${SEED:-20240611}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_disc_image >/dev/null
program="$build/bench/disc-image/bench_disc_image"

work=$(mktemp -d)
cleanup() {
  mountpoint -q "$work/mnt" 2>/dev/null && fusermount -u "$work/mnt"
  rm -rf "$work"
}
trap cleanup EXIT
"$program" generate "$work/tree" "$files" "$seed"
xorriso -as mkisofs -quiet -R -J -joliet-long -V BENCH -o "$work/joliet.iso" "$work/tree" 2>/dev/null
genisoimage -quiet -udf -R -J -joliet-long -V BENCH -o "$work/bridge.iso" "$work/tree" 2>/dev/null
mkdir "$work/mnt"
fuseiso "$work/joliet.iso" "$work/mnt"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Prints "wall cpu" seconds of one run.
seconds() { local TIMEFORMAT='%R %U %S'; { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1, $2 + $3 }'; }

# Each candidate once to warm the cache, then RUNS times.
measure() {
  local label=$1; shift
  "$@" >/dev/null 2>&1 || { printf '%-40s failed\n' "$label"; return; }
  local wall=() cpu=() w c
  for _ in $(seq "$runs"); do
    read -r w c < <(seconds "$@")
    wall+=("$w") cpu+=("$c")
  done
  printf '%-40s %7.3f s %7.3f s\n' "$label" "$(printf '%s\n' "${wall[@]}" | median)" \
    "$(printf '%s\n' "${cpu[@]}" | median)"
}

printf 'image of %d files (seed %s): ISO 9660 %d MiB, bridge %d MiB; median of %d runs, warm cache\n' "$files" \
  "$seed" $(( $(stat -c %s "$work/joliet.iso") >> 20 )) $(( $(stat -c %s "$work/bridge.iso") >> 20 )) "$runs"
printf '%-40s %9s %9s\n' '' 'wall' 'cpu'
printf 'entries listed: %s\n' "$("$program" list "$work/joliet.iso" | sed -E 's/seconds=[0-9.]+ //')"
measure 'DiscImage (libarchive), ISO 9660'         "$program" list "$work/joliet.iso"
measure 'libcdio libiso9660, ISO 9660'             "$program" libiso9660 "$work/joliet.iso"
measure 'bsdtar -tvf, ISO 9660'                    bsdtar -tvf "$work/joliet.iso"
measure 'find over the fuseiso mount'              find "$work/mnt" -printf '%s %p\n'
printf 'entries listed: %s\n' "$("$program" list "$work/bridge.iso" | sed -E 's/seconds=[0-9.]+ //')"
measure 'DiscImage (own reader), UDF'              "$program" list "$work/bridge.iso"
measure 'libcdio libudf, UDF'                      "$program" libudf "$work/bridge.iso"
