#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks that everything a desktop needs lands in its
# standard place: the programs, the menu entry, the icon and the disc image types.
# Usage: check-install.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR=$stage cmake --install "$build" >/dev/null
root=$stage$prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

for program in vellumtrove vellumtrove-cli; do
  [ -x "$root/bin/$program" ] || fail "bin/$program is missing or not executable"
done
entry=$root/share/applications/vellumtrove.desktop
icon=$root/share/icons/hicolor/scalable/apps/vellumtrove.svg
types=$root/share/mime/packages/vellumtrove-disc-images.xml
for file in "$entry" "$icon" "$types"; do
  [ -s "$file" ] || fail "${file#$stage} is missing"
done

grep -qx 'Exec=vellumtrove %F' "$entry" || fail "the entry does not hand the program its files"
grep -qx 'Icon=vellumtrove' "$entry" || fail "the entry does not name the icon"
grep -q '^Name=' "$entry" || fail "no English name"
grep -q '^Name\[fa\]=' "$entry" || fail "no Persian name"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
else
  echo "desktop-file-validate is not installed; the entry was checked by hand only" >&2
fi

python3 - "$icon" "$types" <<'PY' || fail "the icon or the MIME package is not well-formed XML"
import sys, xml.etree.ElementTree as ET
for path in sys.argv[1:]:
    ET.parse(path)
PY

# Every type the entry opens is known: to the system's MIME database, or through our own package.
system_types=/usr/share/mime/packages/freedesktop.org.xml
mime_types=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | sed '/^$/d')
for glob in iso cue nrg; do
  known=no
  for type in $mime_types; do
    for source in "$types" "$system_types"; do
      [ -f "$source" ] || continue
      if python3 - "$source" "$type" "$glob" <<'PY'; then known=yes; fi
import sys, xml.etree.ElementTree as ET
ns = {"m": "http://www.freedesktop.org/standards/shared-mime-info"}
source, wanted, glob = sys.argv[1:]
for t in ET.parse(source).getroot().findall("m:mime-type", ns):
    if t.get("type") == wanted and any(g.get("pattern") == "*." + glob for g in t.findall("m:glob", ns)):
        sys.exit(0)
sys.exit(1)
PY
    done
  done
  [ $known = yes ] || fail "no type the entry opens takes *.$glob"
done
echo "installed and checked under $stage$prefix"
