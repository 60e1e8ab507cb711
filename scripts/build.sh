#!/usr/bin/env bash
# Installs what is missing, then configures and builds into ./build (or the preset named by $1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
preset=${1:-default}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
