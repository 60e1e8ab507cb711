#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (under a virtual display if there is none).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" ./build/vellumtrove "$@"
fi
exec ./build/vellumtrove "$@"
