#!/usr/bin/env bash
# The disc browser over a catalogue of 1,100,000 file rows: opening a 100,000-file and a 1,000,000-file
# disc (facts, root level of the tree, root files, painted) and listing a 50,000-file folder of the large
# disc, each against its target, with the resident memory they add and the process's peak. Extra arguments
# go to the program (--runs R).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_browse >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/browse/bench_browse" "$@"
