#!/usr/bin/env bash
# Several programs on one catalogue, for a bounded time, seeded: SOAK_WORKERS worker processes (the first
# one like the window program, with two connections and idle-time index upkeep; the others like the command
# line, a connection per command) catalogue SOAK_IMAGES small disc images (fuseiso mounts) under random
# names, remove their own discs and search, while this script kills a random worker with SIGKILL every
# second or so (and starts it again) and a plain sqlite3 program opens and closes the catalogue now and
# then. At the end `vellumtrove-cli check` must pass, every disc whose scan was acknowledged must be there
# with all its rows, and no removed disc may have left anything.
# Prints the figures; exit 0 when no fault was found, 77 when disc images cannot be mounted here.
#   SOAK_SECONDS (120) SOAK_WORKERS (4) SOAK_IMAGES (4) SOAK_SEED (20261208) SOAK_BUILD (build folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${SOAK_BUILD:-$root/build}
seconds=${SOAK_SECONDS:-120}
workers=${SOAK_WORKERS:-4}
images=${SOAK_IMAGES:-4}
seed=${SOAK_SEED:-20261208}
RANDOM=$seed

for tool in xorriso fuseiso fusermount sqlite3; do
  command -v "$tool" >/dev/null || { echo "soak: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
[ -r /dev/fuse ] && [ -w /dev/fuse ] || { echo "soak: FUSE is not available here"; exit 77; }
if [ -z "${SOAK_BUILD:-}" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j2 --target soak_worker vellumtrove-cli >/dev/null
fi
worker_bin="$build/bench/soak/soak_worker"
cli="$build/vellumtrove-cli"

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  for m in "$work"/mnt-*; do [ -d "$m" ] && fusermount -u -z "$m" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Small seeded trees with spaced and Persian names, each made into an image and mounted.
for i in $(seq "$images"); do
  tree="$work/tree-$i"
  files=$((20 + RANDOM % 280))
  for f in $(seq "$files"); do
    dir="$tree/dir $((f % 7))/زیر $((f % 3))"
    mkdir -p "$dir"
    head -c $((RANDOM % 3000)) /dev/zero >"$dir/file $f $RANDOM.txt"
  done
  xorriso -as mkisofs -quiet -R -J -V "SOAK_$i" -o "$work/image-$i.iso" "$tree" 2>/dev/null
  mkdir "$work/mnt-$i"
  fuseiso "$work/image-$i.iso" "$work/mnt-$i" >/dev/null
done

mkdir "$work/catalogue" "$work/ledgers"
catalogue="$work/catalogue/Mydb.mdb"
deadline=$((SECONDS + seconds))
starts=0
start_worker() {
  local id=$1 flags=()
  [ "$id" -eq 0 ] && flags=(--two-connections)
  "$worker_bin" run "$catalogue" "$work/ledgers" "$id" "$((seed + RANDOM))" "$((deadline - SECONDS))" \
    "${flags[@]}" >>"$work/worker-$id.out" 2>&1 &
  pids[id]=$!
  starts=$((starts + 1))
}
for id in $(seq 0 $((workers - 1))); do start_worker "$id"; done

# A plain SQLite program that opens, reads and closes the catalogue now and then.
(
  while [ $SECONDS -lt $deadline ]; do
    # sqlite3 would make an empty file of a missing one, which no program would take for a catalogue.
    [ -s "$catalogue" ] && sqlite3 "$catalogue" 'SELECT count(*) FROM Disks;' >/dev/null 2>&1 || true
    sleep 0.$((RANDOM % 9 + 1))
  done
) &
reader=$!

kills=0
while [ $((SECONDS + 2)) -lt $deadline ]; do
  sleep "$((RANDOM % 2)).$((RANDOM % 10))"
  id=$((RANDOM % workers))
  if kill -9 "${pids[id]}" 2>/dev/null; then
    wait "${pids[id]}" 2>/dev/null || true
    kills=$((kills + 1))
  fi
  start_worker "$id"
done
wait "$reader" || true
for pid in "${pids[@]}"; do
  # Each worker stops by itself at the deadline; one that hangs is a fault too.
  for _ in $(seq 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$pid" 2>/dev/null; then echo "fault: worker $pid did not stop"; kill -9 "$pid"; hung=1; fi
  wait "$pid" 2>/dev/null || true
done

count() { cat "$work"/worker-*.out | grep -c "$1" || true; }
printf 'soak: %d s, %d workers (one with two connections), %d images, seed %s\n' \
  "$seconds" "$workers" "$images" "$seed"
printf 'operations: %d scans acknowledged, %d refused, %d removals, %d searches, %d failed steps\n' \
  "$(count '^scan$')" "$(count '^scan refused')" "$(count '^remove$')" "$(count '^search$')" "$(count '^failed')"
printf 'kills: %d (worker starts: %d)\n' "$kills" "$starts"
faults=${hung:-0}
if ! "$cli" check --catalog "$catalogue"; then faults=$((faults + 1)); fi
if ! "$worker_bin" verify "$catalogue" "$work/ledgers"; then faults=$((faults + 1)); fi
grep -h '^failed' "$work"/worker-*.out | sed 's/[0-9]\+/N/g' | sort | uniq -c | sort -rn | head -5 || true
printf 'faults found: %d\n' "$faults"
[ "$faults" -eq 0 ]
