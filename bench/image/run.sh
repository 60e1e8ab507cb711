#!/usr/bin/env bash
# Cataloguing a seeded disc image of FILES files (100,000; `run.sh 1000000` for a million) three ways in the
# same run, warm cache: `vellumtrove-cli scan IMAGE NAME` (the image read directly), `bsdtar -tvf IMAGE`
# (libarchive's own lister) and `vellumtrove-cli scan` of the same image mounted with fuseiso. Prints the
# median wall time of RUNS runs and the peak memory (maximum resident set) of each, the ratios against the
# targets (at most 1.2 x bsdtar, at least 10 x faster than through the mount), and the peak memory of the
# direct scan and of the bare image reader at a tenth of FILES beside FILES, which must be flat. Then the
# bare reader against libcdio's libiso9660 and libudf (on a UDF bridge image), the libraries it was
# chosen over.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
files=${1:-${FILES:-100000}}
runs=${RUNS:-3}
seed=${SEED:-20240611}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_image vellumtrove-cli >/dev/null
program="$build/bench/image/bench_image"
cli="$build/vellumtrove-cli"

work=$(mktemp -d)
cleanup() {
  mountpoint -q "$work/mnt" 2>/dev/null && fusermount -u "$work/mnt"
  rm -rf "$work"
}
trap cleanup EXIT
# Drive letters of this run only, not the session's.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

make_image() {  # FILES NAME
  "$program" generate "$work/tree-$2" "$1" "$seed"
  xorriso -as mkisofs -quiet -R -J -joliet-long -V BENCH -o "$work/$2.iso" "$work/tree-$2" 2>/dev/null
}
make_image "$files" big
make_image $((files / 10)) small
genisoimage -quiet -udf -R -J -joliet-long -V BENCH -o "$work/bridge.iso" "$work/tree-big" 2>/dev/null
rm -rf "$work/tree-big" "$work/tree-small"
mkdir "$work/mnt"
fuseiso "$work/big.iso" "$work/mnt"
for _ in $(seq 100); do mountpoint -q "$work/mnt" && break; sleep 0.05; done
mounted=$("$cli" drives | awk -F'\t' -v m="$work/mnt" '$2 == m { sub(/\\+$/, "", $1); print $1 }')
[ -n "$mounted" ] || { echo "the fuseiso mount is not listed as a drive" >&2; exit 1; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "wall-seconds peak-KiB" of one run; a scan gets a fresh catalogue each time.
one_run() {
  rm -f "$work/catalogue.mdb"*
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  cat "$work/time"
}
# Sets $wall (median of RUNS, after one warming run) and $peak (the largest) for a command.
measure() {
  one_run "$@" >/dev/null
  local walls=() w m
  peak=0
  for _ in $(seq "$runs"); do
    read -r w m < <(one_run "$@")
    walls+=("$w")
    (( m > peak )) && peak=$m
  done
  wall=$(printf '%s\n' "${walls[@]}" | median)
}
row() { printf '%-52s %8.2f s %8d MiB\n' "$1" "$wall" $((peak / 1024)); }

printf 'image of %d files (seed %s): %d MiB; median of %d runs, warm cache\n' "$files" "$seed" \
  $(( $(stat -c %s "$work/big.iso") >> 20 )) "$runs"
printf '%-52s %10s %12s\n' '' 'wall' 'peak memory'
measure "$cli" scan "$work/big.iso" Bench --catalog "$work/catalogue.mdb"; direct=$wall direct_peak=$peak
row 'vellumtrove-cli scan IMAGE NAME'
measure bsdtar -tvf "$work/big.iso"; bsdtar=$wall
row 'bsdtar -tvf IMAGE'
measure "$cli" scan "$mounted" Bench --catalog "$work/catalogue.mdb"; through_mount=$wall
row "vellumtrove-cli scan $mounted NAME (fuseiso mount)"
awk -v d="$direct" -v b="$bsdtar" -v m="$through_mount" 'BEGIN {
  printf "direct scan / bsdtar:          %5.2f x   (target at most 1.2)\n", d / b
  printf "scan through the mount / direct: %5.1f x   (target at least 10)\n", m / d }'

measure "$cli" scan "$work/small.iso" Bench --catalog "$work/catalogue.mdb"; small_peak=$peak
printf 'peak memory of the direct scan: %d MiB at %d files, %d MiB at %d files\n' $((small_peak / 1024)) \
  $((files / 10)) $((direct_peak / 1024)) "$files"

reader() { "$program" "$@" | sed -E 's/.*seconds=([0-9.]+).*peak_kib=([0-9]+).*/\1 s \2 KiB/'; }
printf '\nthe bare image reader (one run each):\n'
printf '%-52s %s\n' 'DiscImage, ISO 9660, a tenth of the files' "$(reader list "$work/small.iso")"
printf '%-52s %s\n' 'DiscImage, ISO 9660' "$(reader list "$work/big.iso")"
printf '%-52s %s\n' 'libcdio libiso9660, ISO 9660' "$(reader libiso9660 "$work/big.iso" || echo unavailable)"
printf '%-52s %s\n' 'DiscImage, UDF (bridge image)' "$(reader list "$work/bridge.iso")"
printf '%-52s %s\n' 'libcdio libudf, UDF (bridge image)' "$(reader libudf "$work/bridge.iso" || echo unavailable)"
