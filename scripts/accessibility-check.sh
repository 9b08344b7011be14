#!/usr/bin/env bash
# What a screen reader hears of the screen: opens it on a fresh demo database
# in its own D-Bus session with Qt's accessibility bridge on, walks its AT-SPI
# tree (scripts/atspi-names.py) and prints every input with its name and the
# share of inputs named. Needs a display: DISPLAY, or Xvfb started here.
# Usage: scripts/accessibility-check.sh [minimum share, default 95]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=:$((100 + RANDOM % 800))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  sleep 1
fi
# A private HOME: the host's registry and demo database stay out of the user's.
export HOME=$work XDG_CONFIG_HOME=$work/.config XDG_DATA_HOME=$work/.local/share
"$build/bin/talvexor" --db "sqlite:$work/demo.db" --init-db >/dev/null
"$build/bin/talvexor" --db "sqlite:$work/demo.db" --demo >/dev/null

dbus-run-session -- bash -c '
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$1" --db "sqlite:$2" >/dev/null 2>&1 &
  app=$!
  status=0
  /usr/bin/python3 "$3" "$4" || status=$?
  kill "$app" 2>/dev/null || true
  exit $status' _ "$build/bin/talvexor" "$work/demo.db" "$here/scripts/atspi-names.py" "${1:-95}"
