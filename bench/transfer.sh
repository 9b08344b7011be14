#!/usr/bin/env bash
# Times the export and the import of the catalogue (talvexor --export and --import) on generated catalogues,
# with the peak memory of each run (/usr/bin/time):
#  1. the export of EXPORT_ASSETS assets (default 1,000,000);
#  2. the round trip of IMPORT_ASSETS assets (default 100,000): the catalogue exported, its assets deleted with
#     their distributions and additional fields, the file imported through the screen, then checked: every
#     asset back, no row refused.
# On SQLite always; on PostgreSQL too when TALVEXOR_PG_URL names a server (databases PREFIX_export and
# PREFIX_import made on it, dropped at the end). Prints one line a measure, tab-separated:
#   backend  what  assets  seconds  peak-MB
#
#   bench/transfer.sh [EXPORT_ASSETS] [IMPORT_ASSETS]
#
# TALVEXOR_BENCH_DIR         where catalogues and files go (default bench-data/ in the checkout, not committed)
# TALVEXOR_BENCH_PG_PREFIX   PostgreSQL database names (default talvexor_transfer)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bin=$build/bin
exports=${1:-1000000}
imports=${2:-100000}
dir=${TALVEXOR_BENCH_DIR:-$here/bench-data}
prefix=${TALVEXOR_BENCH_PG_PREFIX:-talvexor_transfer}
mkdir -p "$dir" "$dir/home"
export HOME=$dir/home QT_QPA_PLATFORM=offscreen TALVEXOR_LIB_DIR=$build/lib PGOPTIONS="-c client_min_messages=warning"

measure() { # BACKEND WHAT ASSETS -- COMMAND...
  local backend=$1 what=$2 assets=$3; shift 4
  local log=$dir/time.log
  /usr/bin/time -f "%e %M" -o "$log" "$@" >"$dir/out.log" 2>"$dir/err.log" || {
    local status=$?
    # 1 is an import that refused rows: the check below says so; anything else stops the benchmark.
    if [ "$status" -ne 1 ]; then cat "$dir/err.log" >&2; exit "$status"; fi
  }
  read -r seconds kb <"$log"
  printf '%s\t%s\t%s\t%s\t%s\n' "$backend" "$what" "$assets" "$seconds" "$((kb / 1024))"
}

forget_assets() { # how a test run deletes a catalogue's assets, keeping what they refer to
  echo "DELETE FROM Activo_Fijo_Centro_Costo; DELETE FROM Campo_Adicional_Valor WHERE Ca_Tabla = 'Activo_Fijo';
        DELETE FROM Activo_Fijo;"
}

run_backend() { # BACKEND EXPORT_URL IMPORT_URL SQL_COMMAND...
  local backend=$1 exportUrl=$2 importUrl=$3; shift 3
  "$bin/talvexor" --db "$exportUrl" --init-db >/dev/null
  measure "$backend" export "$exports" -- \
    "$bin/talvexor" --db "$exportUrl" --export "$dir/export-$backend.csv"
  [ "$(($(wc -l <"$dir/export-$backend.csv") - 1))" -eq "$exports" ] || { echo "export: not every asset" >&2; exit 1; }

  "$bin/talvexor" --db "$importUrl" --init-db >/dev/null
  "$bin/talvexor" --db "$importUrl" --export "$dir/import-$backend.csv" 2>/dev/null
  forget_assets | "$@"
  measure "$backend" import "$imports" -- \
    "$bin/talvexor" --db "$importUrl" --import "$dir/import-$backend.csv" --report "$dir/report-$backend.csv"
  tail -n 1 "$dir/err.log" >&2
  [ "$(wc -l <"$dir/report-$backend.csv")" -eq 1 ] || { echo "import: rows refused ($dir/report-$backend.csv)" >&2; exit 1; }
}

"$here/scripts/build.sh" >/dev/null
for n in "$exports" "$imports"; do
  if [ ! -f "$dir/catalogue-$n.db.done" ]; then
    rm -f "$dir/catalogue-$n.db"*
    "$bin/talvexor_generate" --db "sqlite:$dir/catalogue-$n.db" --assets "$n" | tail -n 1 >&2
    touch "$dir/catalogue-$n.db.done"
  fi
done
cp "$dir/catalogue-$exports.db" "$dir/export.db"
cp "$dir/catalogue-$imports.db" "$dir/import.db"
rm -f "$dir/export.db-wal" "$dir/import.db-wal"
run_backend sqlite "sqlite:$dir/export.db" "sqlite:$dir/import.db" sqlite3 "$dir/import.db"
rm -f "$dir"/export.db* "$dir"/import.db*

if [ -n "${TALVEXOR_PG_URL:-}" ]; then
  server=${TALVEXOR_PG_URL%/*}
  trap 'psql -X -q "$TALVEXOR_PG_URL" -c "DROP DATABASE IF EXISTS ${prefix}_export" -c "DROP DATABASE IF EXISTS ${prefix}_import"' EXIT
  for which in export import; do
    n=$exports; [ "$which" = import ] && n=$imports
    psql -X -q "$TALVEXOR_PG_URL" -c "DROP DATABASE IF EXISTS ${prefix}_$which" -c "CREATE DATABASE ${prefix}_$which"
    "$bin/talvexor_generate" --db "$server/${prefix}_$which" --assets "$n" | tail -n 1 >&2
  done
  run_backend postgresql "$server/${prefix}_export" "$server/${prefix}_import" psql -X -q "$server/${prefix}_import"
fi
