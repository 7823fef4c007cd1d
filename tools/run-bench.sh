#!/usr/bin/env bash
# Runs every benchmark of an optimised build; bench_capture also against a throwaway PostgreSQL server.
set -euo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
pgstate=$build/pgserver-bench
trap '"$here/pg-test-server.sh" stop "$pgstate" >/dev/null 2>&1 || true' EXIT
"$here/pg-test-server.sh" start "$pgstate" >/dev/null || echo "(no PostgreSQL server for the benchmarks)"
found=0
for b in "$build"/bench/bench_*; do
  [[ -f "$b" && -x "$b" ]] || continue # executables only, not the bench_*_autogen folders
  found=1
  echo "== $(basename "$b")"
  if [[ $(basename "$b") == bench_capture && -f $pgstate/server.env ]]; then
    "$here/pg-test-server.sh" exec "$pgstate" "$b"
  else
    "$b"
  fi
done
[[ $found -eq 1 ]] || echo "No benchmarks are built yet."
