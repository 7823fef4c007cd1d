#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and benchmarks.
#
#   pg-test-server.sh start DIR        initdb into a new temporary folder, start the server on a Unix
#                                       socket there and on a free loopback port (fsync off), create the
#                                       login role and its database, write DIR/server.env
#   pg-test-server.sh exec DIR CMD…    run CMD with the connection in the environment (from DIR/server.env)
#   pg-test-server.sh stop DIR         stop the server and remove its folder (also after a failed run)
#
# Environment given to the tests:
#   KOVRA_PG_HOST      the socket folder (psqlODBC's Servername may be a socket directory)
#   KOVRA_PG_PORT      the loopback TCP port (also the socket's number)
#   KOVRA_PG_USER, KOVRA_PG_PASSWORD   the login role (may create databases)
#   KOVRA_PG_DATABASE  a database owned by that role
#   KOVRA_PG_ADMIN, KOVRA_PG_ADMIN_PASSWORD   the superuser of the throwaway cluster
# As root the server runs as the user "postgres" (PostgreSQL refuses to run as root).
set -euo pipefail

usage() { echo "usage: $0 start|stop DIR | exec DIR COMMAND..." >&2; exit 2; }
[[ $# -ge 2 ]] || usage
action=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
envfile=$state/server.env

bindir() {
  local d
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [[ -x $d/initdb && -x $d/pg_ctl ]] && { echo "$d"; return; }
  done
  echo "PostgreSQL server programs not found (Debian package postgresql-15)" >&2
  exit 1
}

# Runs a server program as the cluster's owner.
as_owner() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  [[ -f $envfile ]] || return 0
  local folder
  folder=$(sed -n 's/^KOVRA_PG_FOLDER=//p' "$envfile")
  if [[ -n $folder && -d $folder/data ]]; then
    as_owner "$(bindir)/pg_ctl" -D "$folder/data" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
  fi
  [[ -n $folder && $folder == */kovra-pg.* ]] && rm -rf "$folder"
  rm -f "$envfile"
}

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

start_server() {
  stop_server
  local bin folder port tries=0 user=kovra password=kovra-teszt admin=kovra_admin adminpw
  bin=$(bindir)
  folder=$(mktemp -d "${TMPDIR:-/tmp}/kovra-pg.XXXXXX")
  chmod 755 "$folder"
  adminpw="admin-$RANDOM$RANDOM"
  printf '%s\n' "$adminpw" >"$folder/adminpw"
  if [[ $(id -u) -eq 0 ]]; then
    id postgres >/dev/null 2>&1 || { echo "user postgres is missing (install postgresql-15)" >&2; rm -rf "$folder"; exit 1; }
    chown postgres "$folder" "$folder/adminpw"
  fi
  chmod 600 "$folder/adminpw"
  if ! as_owner "$bin/initdb" -D "$folder/data" -U "$admin" --pwfile="$folder/adminpw" -A scram-sha-256 \
      -E UTF8 --locale=C.UTF-8 --no-sync >"$folder/initdb.log" 2>&1; then
    cat "$folder/initdb.log" >&2
    rm -rf "$folder"
    exit 1
  fi
  while :; do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
    port_in_use "$port" && continue
    if as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-p $port -k $folder -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=60" \
        start >/dev/null; then
      break
    fi
    tries=$((tries + 1))
    if [[ $tries -ge 5 ]]; then
      cat "$folder/server.log" >&2
      rm -rf "$folder"
      exit 1
    fi
  done
  {
    echo "KOVRA_PG_FOLDER=$folder"
    echo "KOVRA_PG_HOST=$folder"
    echo "KOVRA_PG_PORT=$port"
    echo "KOVRA_PG_USER=$user"
    echo "KOVRA_PG_PASSWORD=$password"
    echo "KOVRA_PG_DATABASE=kovra"
    echo "KOVRA_PG_ADMIN=$admin"
    echo "KOVRA_PG_ADMIN_PASSWORD=$adminpw"
  } >"$envfile"
  PGPASSWORD=$adminpw "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$folder" -p "$port" -U "$admin" -d postgres \
    -c "CREATE ROLE $user LOGIN CREATEDB PASSWORD '$password'" \
    -c "CREATE DATABASE kovra OWNER $user" >/dev/null || { stop_server; exit 1; }
  echo "PostgreSQL test server: socket $folder, port $port"
}

case $action in
  start) start_server ;;
  stop) stop_server ;;
  exec)
    [[ $# -ge 1 ]] || usage
    [[ -f $envfile ]] || { echo "no test server in $state (run: $0 start $state)" >&2; exit 1; }
    set -a
    # shellcheck disable=SC1090
    source "$envfile"
    set +a
    exec "$@"
    ;;
  *) usage ;;
esac
