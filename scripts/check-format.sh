#!/usr/bin/env bash
# Fails when any C++ file under src, tests or bench differs from what the pinned clang-format makes of it,
# and shows the difference. With --fix, formats those files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=clang-format-14  # the one Debian 12 ships: another version formats differently
command -v "$clang_format" >/dev/null || { echo "check-format: $clang_format is not installed (scripts/setup.sh)" >&2; exit 2; }
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = "--fix" ]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi
differing=0
for file in "${files[@]}"; do
  if ! "$clang_format" "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" - >&2; then
    differing=$((differing + 1))
  fi
done
if [ "$differing" -ne 0 ]; then
  echo "check-format: $differing of ${#files[@]} files differ from $clang_format (scripts/check-format.sh --fix)" >&2
  exit 1
fi
