#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. When PostgreSQL's
# server binaries are present a throwaway cluster is started on loopback for
# the PostgreSQL tests; in CI (CI=true) those tests must run, not skip.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
build=${BUILD_DIR:-$here/build}

pgdir=""
cleanup() {
  if [ -n "$pgdir" ]; then
    "$here/scripts/pg-throwaway.sh" stop "$pgdir" >/dev/null 2>&1 || true
    rm -rf "$pgdir"
  fi
}
trap cleanup EXIT

if [ -z "${TALVEXOR_PG_URL:-}" ] && ls /usr/lib/postgresql/*/bin/initdb >/dev/null 2>&1; then
  pgdir=$(mktemp -d /tmp/talvexor-pg.XXXXXX)
  TALVEXOR_PG_URL=$("$here/scripts/pg-throwaway.sh" start "$pgdir")
  export TALVEXOR_PG_URL
  echo "PostgreSQL for the tests: $TALVEXOR_PG_URL"
fi
if [ "${CI:-}" = "true" ]; then
  export TALVEXOR_REQUIRE_PG=1
fi

ctest --test-dir "$build" --output-on-failure -j2 "$@"

# The form's input paths under AddressSanitizer and UBSan, in CI or with
# TALVEXOR_SANITIZE=1: a second tree that builds only what the hostile-input
# test drives, and any report fails the run.
if [ "${CI:-}" = "true" ] || [ "${TALVEXOR_SANITIZE:-}" = "1" ]; then
  asan=${ASAN_BUILD_DIR:-$build-asan}
  reports=$(mktemp -d /tmp/talvexor-sanitizers.XXXXXX)
  cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVEXOR_SANITIZE=ON >/dev/null
  cmake --build "$asan" -j"$(nproc)" --target talvexor xb733 tst_hostile
  ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$reports/asan" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --test-dir "$asan" --output-on-failure -R '^tst_hostile$'
  if [ -n "$(ls -A "$reports")" ]; then
    cat "$reports"/*
    echo "Sanitizer reports above (tree $asan)." >&2
    exit 1
  fi
  rm -rf "$reports"
else
  echo "SKIP: the sanitizer run of the hostile-input test (CI=true or TALVEXOR_SANITIZE=1 runs it)"
fi
