#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
# With "asan" as the first argument the suite runs under AddressSanitizer and UBSan, with "tsan" under
# ThreadSanitizer (each in a build folder of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/build.sh "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j2
