#!/usr/bin/env bash
# Recognising a disc among 10,000 catalogued discs (the new-disk window's lookup), through the catalogue's
# index on serial and size, against the same lookup with that index dropped, in the same run. Extra
# arguments go to the program (--discs N --lookups L).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_recognise >/dev/null
"$build/bench/recognise/bench_recognise" "$@"
