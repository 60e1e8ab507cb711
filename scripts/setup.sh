#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: packages already present are left alone; apt runs only when something is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6svg6 qt6-qpa-plugins
  libsqlite3-dev sqlite3
  libpq-dev postgresql postgresql-contrib
  libgtest-dev libgmock-dev
  xvfb xauth x11-apps imagemagick
  fonts-noto-core fonts-dejavu-core
  xorriso fuseiso fuse3
  libiso9660-dev libudf-dev
  genisoimage udftools libarchive-tools
  xdg-utils
  xdotool
  clang-format-14
  qt6-translations-l10n
  desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
