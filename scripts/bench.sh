#!/usr/bin/env bash
# Runs the benchmarks (built with the project):
#  1. start-up of the screen on the demo database, in process and the whole
#     host (bench_startup, N runs);
#  2. every command of the screen on generated catalogues (bench_commands,
#     ROUNDS runs of each; then bench_bulk: a thousand labels and a long
#     history, into TALVEXOR_BENCH_DIR/bulk.txt): SQLite at each size of TALVEXOR_BENCH_SIZES and
#     PostgreSQL at each of TALVEXOR_BENCH_PG_SIZES, on a throwaway cluster.
#     The catalogues are generated once (talvexor_generate) into
#     TALVEXOR_BENCH_DIR and every run works on a fresh copy of them;
#  3. writes the tables and the targets into docs/performance.md and the plot
#     of cost against catalogue size into docs/performance.png (gnuplot,
#     installed from Debian when missing).
#
#   scripts/bench.sh [ROUNDS] [N]
#
# TALVEXOR_BENCH_DIR    default /tmp/talvexor-bench (about 15 GB at a million assets)
# TALVEXOR_BENCH_SIZES  default "1000 10000 100000 1000000"
# TALVEXOR_BENCH_PG_SIZES default "1000 1000000"; empty skips PostgreSQL
# TALVEXOR_BENCH_PG_URL an existing server's admin URL to keep the PostgreSQL
#                       catalogues on (databases TALVEXOR_BENCH_PG_PREFIX*,
#                       default "talvexor_bench_"), instead of a throwaway cluster
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
rounds=${1:-40}
runs=${2:-20}
dir=${TALVEXOR_BENCH_DIR:-/tmp/talvexor-bench}
sizes=${TALVEXOR_BENCH_SIZES-1000 10000 100000 1000000}
pg_sizes=${TALVEXOR_BENCH_PG_SIZES-1000 1000000}
bin=$build/bin
export QT_QPA_PLATFORM=offscreen TALVEXOR_LIB_DIR=$build/lib PGOPTIONS="-c client_min_messages=warning"

"$here/scripts/build.sh"
if ! command -v gnuplot >/dev/null; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends gnuplot-nox
fi
mkdir -p "$dir"
free_gb=$(df -P -BG "$dir" | awk 'NR == 2 { sub("G", "", $4); print $4 }')
if [ "$free_gb" -lt 15 ]; then
  echo "bench.sh: only ${free_gb} GB free in $dir; the catalogues and their copies need about 15" >&2
  exit 1
fi

machine="$(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')), \
$(free -g | awk '/^Mem:/ { print $2 }') GB RAM, $(. /etc/os-release && echo "$PRETTY_NAME"), \
SQLite $(sqlite3 --version | cut -d' ' -f1), PostgreSQL $(psql --version | awk '{ print $3 }'), \
$(date -u '+%Y-%m-%d %H:%M UTC')"
load_start=$(cut -d' ' -f1 /proc/loadavg)
echo "$machine, load average $load_start"

"$bin/bench_startup" "$runs" --host "$bin/talvexor"

tsv=$dir/results.tsv
: > "$tsv"
measure() { # URL
  "$bin/talvexor" --db "$1" --init-db >/dev/null # indexes declared since the catalogue was made
  sync # what that wrote, out before measuring
  "$bin/bench_commands" --db "$1" --rounds "$rounds" --host "$bin/talvexor" --tsv "$tsv"
  "$bin/bench_bulk" --db "$1" --runs 5 --host "$bin/talvexor" | tee -a "$dir/bulk.txt" # labels and history
}

for n in $sizes; do
  pristine=$dir/catalogue-$n.db
  if [ ! -f "$pristine.done" ]; then
    rm -f "$pristine" "$pristine-wal" "$pristine-shm"
    "$bin/talvexor_generate" --db "sqlite:$pristine" --assets "$n" | tail -n 1
    touch "$pristine.done"
  fi
  rm -f "$dir/work.db-wal" "$dir/work.db-shm"
  cp "$pristine" "$dir/work.db"
  sync "$dir/work.db" # a copy still being written back would slow every commit's fsync
  measure "sqlite:$dir/work.db"
  rm -f "$dir/work.db" "$dir/work.db-wal" "$dir/work.db-shm"
done

if [ -n "$pg_sizes" ]; then
  prefix=""
  if [ -n "${TALVEXOR_BENCH_PG_URL:-}" ]; then
    admin=$TALVEXOR_BENCH_PG_URL
    prefix=${TALVEXOR_BENCH_PG_PREFIX:-talvexor_bench_}
  else
    admin=$("$here/scripts/pg-throwaway.sh" start "$dir/pg")
    trap '"$here/scripts/pg-throwaway.sh" stop "$dir/pg" >/dev/null' EXIT
  fi
  server=${admin%/*}
  mkdir -p "$dir/pg"
  for n in $pg_sizes; do
    catalogue=${prefix}catalogue_$n
    if [ ! -f "$dir/pg/$catalogue.done" ]; then
      psql -X -q "$admin" -c "DROP DATABASE IF EXISTS $catalogue" -c "CREATE DATABASE $catalogue"
      "$bin/talvexor_generate" --db "$server/$catalogue" --assets "$n" | tail -n 1
      touch "$dir/pg/$catalogue.done"
    fi
    # Copied as files and checkpointed, so no writing of the copy goes on while measuring.
    psql -X -q "$admin" -c "DROP DATABASE IF EXISTS ${prefix}bench_work" \
      -c "CREATE DATABASE ${prefix}bench_work TEMPLATE $catalogue STRATEGY FILE_COPY" -c "CHECKPOINT"
    measure "$server/${prefix}bench_work"
    psql -X -q "$admin" -c "DROP DATABASE ${prefix}bench_work"
  done
fi

"$bin/bench_report" "$tsv" --markdown "$dir/results.md" --plot "$dir/plot.dat" \
  --machine "$machine, load average (1 minute) $load_start before measuring and $(cut -d' ' -f1 /proc/loadavg) \
after, the benchmark itself counting for about 1" --command "scripts/bench.sh $*"
columns=$(head -n 1 "$dir/plot.dat" | awk -F'\t' '{ print NF }')
gnuplot <<EOF
set terminal pngcairo size 960,560 font "DejaVu Sans,10"
set output "$here/docs/performance.png"
set title "Median cost of each command against the catalogue's size (SQLite)"
set xlabel "assets in the catalogue"
set ylabel "median, ms"
set logscale xy
set xrange [500:2000000]
set yrange [0.1:40] # the frame's line in sight
set format x "%.0s%c"
set grid
set key outside right top
set arrow from graph 0, first 16 to graph 1, first 16 nohead dashtype 2 linecolor rgb "red"
set label "one frame (16 ms)" at graph 0.02, first 19 textcolor rgb "red"
plot for [c=2:$columns] "$dir/plot.dat" using 1:c with linespoints title columnheader(c)
EOF

# The figures replace the previous ones between the markers of the document.
doc=$here/docs/performance.md
awk -v results="$dir/results.md" '
  /<!-- bench.sh results -->/ { print; while ((getline line < results) > 0) print line; skipping = 1; next }
  /<!-- end of bench.sh results -->/ { skipping = 0 }
  !skipping { print }
' "$doc" > "$doc.new" && mv "$doc.new" "$doc"
echo "Results in docs/performance.md and docs/performance.png"
