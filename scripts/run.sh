#!/usr/bin/env bash
# Installs what is missing, builds Release and starts Tonvek, on the example project
# unless another project is named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir=$("$root/scripts/build.sh" Release | tail -n 1)
project=${1:-}
if [ -z "$project" ]; then
  for candidate in "$dir"/bin/examples/closed-10in.box "$dir"/bin/examples/*.box; do
    [ -f "$candidate" ] && { project="$candidate"; break; }
  done
fi
if [ -n "$project" ]; then
  exec "$dir/bin/tonvek" "$project"
else
  exec "$dir/bin/tonvek"
fi
