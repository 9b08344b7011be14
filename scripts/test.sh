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
