#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for tests, on loopback only.
#   pg-throwaway.sh start DIR   initialise DIR, start the server, print its URL
#   pg-throwaway.sh stop DIR    stop the server of DIR
# The server runs as user postgres (initdb refuses root); its socket and log
# live in DIR. Port 55432, or the next free one.
set -euo pipefail

usage() { echo "usage: $0 start|stop DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
cmd=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL server binaries not found under /usr/lib/postgresql" >&2
  exit 1
fi

as_postgres() {
  if [ "$(id -u)" = 0 ]; then
    su postgres -s /bin/sh -c "$1"
  else
    sh -c "$1"
  fi
}

port_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

case "$cmd" in
  start)
    if [ "$(id -u)" = 0 ]; then
      chown postgres:postgres "$dir"
    fi
    if [ -f "$dir/port" ] && as_postgres "'$bindir/pg_ctl' -D '$dir/data' status" >/dev/null 2>&1; then
      echo "postgresql://postgres@127.0.0.1:$(cat "$dir/port")/postgres"
      exit 0
    fi
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      as_postgres "'$bindir/initdb' -D '$dir/data' -U postgres -A trust -E UTF8 --locale=C.UTF-8" >"$dir/initdb.log" 2>&1 \
        || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    port=55432
    while ! port_free "$port"; do
      port=$((port + 1))
      [ "$port" -lt 55532 ] || { echo "no free port between 55432 and 55531" >&2; exit 1; }
    done
    as_postgres "'$bindir/pg_ctl' -D '$dir/data' -l '$dir/server.log' -o \"-p $port -k '$dir' -c listen_addresses=127.0.0.1\" -w start" \
      >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "$port" > "$dir/port"
    echo "postgresql://postgres@127.0.0.1:$port/postgres"
    ;;
  stop)
    if [ -f "$dir/data/PG_VERSION" ]; then
      as_postgres "'$bindir/pg_ctl' -D '$dir/data' -m fast -w stop" >/dev/null 2>&1 || true
    fi
    rm -f "$dir/port"
    ;;
  *)
    usage
    ;;
esac
