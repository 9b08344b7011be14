#!/usr/bin/env bash
# Installs what is missing, builds, and opens the screen on the demo database
# (created on first use in the user's data directory).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
app="${BUILD_DIR:-$here/build}/bin/talvexor"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$app" "$@"
fi

# No display: show the screen in a virtual one and keep a picture of it.
shot="${BUILD_DIR:-$here/build}/talvexor.png"
echo "No display found: opening the screen offscreen; its picture is saved to $shot"
echo "(For a real window under Xvfb: Xvfb :99 & DISPLAY=:99 $app)"
QT_QPA_PLATFORM=offscreen "$app" --screenshot "$shot" "$@"
echo "Saved $shot"
