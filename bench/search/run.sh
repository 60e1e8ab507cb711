#!/usr/bin/env bash
# Search latency from the search window's click to the filled list, over a seeded catalogue of 1,000,000
# rows on 200 discs, for common, rare, missing, 2-character and one-disc searches, against the same
# statements through SQLite's built-in like measured in the same run. Extra arguments go to the program
# (--rows N --discs D --seed S --runs R).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_search >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/search/bench_search" "$@"
