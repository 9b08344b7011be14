#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those that are missing.
set -euo pipefail

packages=(
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libgl-dev sqlite3 libsqlite3-dev libpq-dev
  pkg-config ninja-build cmake g++ make postgresql fonts-dejavu-core
  xvfb xauth xdotool imagemagick poppler-utils libqrencode-dev zbar-tools
  # Qt's own dialogs in Spanish; a real print queue for the print test; what a screen reader hears.
  qt6-translations-l10n cups printer-driver-cups-pdf at-spi2-core python3-pyatspi dbus-x11
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

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
