#!/usr/bin/env bash
# Runs the benchmarks (built with the project): start-up of the screen in
# process and of the whole host, median/min/max over N runs; loading every
# demo asset by key M times (median, 95th percentile, share inside SQL);
# saving a new asset and every demo asset edited, K rounds (the same figures).
#   scripts/bench.sh [N] [M] [K]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
QT_QPA_PLATFORM=offscreen TALVEXOR_LIB_DIR="$build/lib" \
  "$build/bin/bench_startup" "${1:-20}" --host "$build/bin/talvexor"
QT_QPA_PLATFORM=offscreen "$build/bin/bench_load" "${2:-10}"
QT_QPA_PLATFORM=offscreen "$build/bin/bench_save" "${3:-20}"
