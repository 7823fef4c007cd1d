#!/usr/bin/env bash
# Runs every benchmark of an optimised build.
set -euo pipefail
build=${1:?build folder}
found=0
for b in "$build"/bench/bench_*; do
  [[ -f "$b" && -x "$b" ]] || continue # executables only, not the bench_*_autogen folders
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[[ $found -eq 1 ]] || echo "No benchmarks are built yet."
