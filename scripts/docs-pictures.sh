#!/usr/bin/env bash
# Pictures of the screen for docs/ and the README: a demo asset loaded, one
# picture per tab (the first after printing its letter, so the status line
# says so), the first tab again at twice the scale, and a deactivated asset,
# taken through the scripted host (offscreen).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private HOME: the host's registry of components stays this tree's own.
export HOME=$work XDG_CONFIG_HOME=$work/.config XDG_DATA_HOME=$work/.local/share
db="sqlite:$work/demo.db"
"$build/bin/talvexor" --db "$db" --init-db --demo >/dev/null
key=${1:-0000000016}

# picture FILE KEY LINES... : the screen after loading KEY and running LINES.
picture() {
  local file=$1 asset=$2
  shift 2
  { printf 'set txt_Af_Cve_Activo_Fijo text %s\nkey txt_Af_Cve_Activo_Fijo Return\n' "$asset"; printf '%s\n' "$@"; } |
    QT_QPA_PLATFORM=offscreen "$build/bin/talvexor" --db "$db" --script - --print-dir "$work/print" \
      --screenshot "$here/docs/$file" >/dev/null
  echo "docs/$file"
}

picture screen-general.png "$key" 'toolbar B1' 'key - Alt+1'
picture screen-contables.png "$key" 'key - Alt+2'
picture screen-depreciacion.png "$key" 'key - Alt+3'
picture screen-datos-usuario.png "$key" 'key - Alt+4'
QT_SCALE_FACTOR=2 picture screen-general-2x.png "$key" 'key - Alt+1'
picture deactivated-asset.png 0000000013
