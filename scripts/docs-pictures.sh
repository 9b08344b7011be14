#!/usr/bin/env bash
# Pictures of the screen for docs/ and the README: a demo asset loaded, one
# picture per tab, taken through the scripted host (offscreen).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db="sqlite:$work/demo.db"
"$build/bin/talvexor" --db "$db" --demo >/dev/null
key=${1:-0000000016}
tabs=(general contables depreciacion datos-usuario)
for tab in 0 1 2 3; do
  printf 'set txt_Af_Cve_Activo_Fijo text %s\nkey txt_Af_Cve_Activo_Fijo Return\nkey - Alt+%d\n' "$key" $((tab + 1)) |
    QT_QPA_PLATFORM=offscreen "$build/bin/talvexor" --db "$db" --script - \
      --screenshot "$here/docs/screen-${tabs[$tab]}.png" >/dev/null
  echo "docs/screen-${tabs[$tab]}.png"
done
