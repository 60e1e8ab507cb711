#!/usr/bin/env bash
# Screenshots of the program's buttons on a virtual display: the main window's toolbar at rest, with the
# pointer over a button (the light-orange hover box) and with that button held down, then the search and
# removal windows it opens. Usage: scripts/button-screenshots.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="${2:-$build/screenshots}"
mkdir -p "$out"
command -v xdotool >/dev/null || { echo "xdotool is needed (scripts/setup.sh installs it)" >&2; exit 1; }

xvfb-run -a -s "-screen 0 1024x700x24" bash -s "$build" "$out" <<'INNER'
set -euo pipefail
build="$1"; out="$2"
"$build/vellumtrove" & program=$!
trap 'kill $program 2>/dev/null || true' EXIT
sleep 3
frame=$(xdotool search --sync --name '^Vellumtrove$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$frame")"   # X, Y of the frame's client area
# Toolbar buttons: 121 x 25 pixels, 8 pixels from the top, left edges 8, 136, 264, 392, 520.
at() { xdotool mousemove $((X + $1)) $((Y + $2)); sleep 0.6; }
shot() { import -window root "$out/$1.png"; }
at 1000 600; shot toolbar-rest
at 324 20; shot toolbar-hover
xdotool mousedown 1; sleep 0.6; shot toolbar-pressed
xdotool mouseup 1; sleep 1
at 1000 600; shot search-window
at 196 20; xdotool click 1; sleep 1
at 1000 600; shot removal-window
INNER
ls "$out"
