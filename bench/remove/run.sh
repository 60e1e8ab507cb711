#!/usr/bin/env bash
# Removing a 5,000-file disc from a 1,000,000-row catalogue through the removal window's delete command,
# against one DELETE per table measured in the same run. Extra arguments go to the program
# (--discs N --files-per-disc F --runs R).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_remove >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/remove/bench_remove" "$@"
