#!/usr/bin/env bash
# Starts kovra on the embedded demo database, creating it (and its kovra.ini) on first use.
set -euo pipefail
build=${1:?build folder}
demo=${2:?demo folder}
bin="$build/src"
if [[ -x "$bin/data/kovra-demo" ]]; then
  if [[ ! -f "$demo/kovra.ini" ]]; then
    echo "Creating the demo database in $demo"
    "$bin/data/kovra-demo" "$demo"
  fi
  exec "$bin/shell/kovra" --ini "$demo/kovra.ini"
fi
echo "The demo database generator is not built yet; starting kovra without a database."
exec "$bin/shell/kovra"
