#!/usr/bin/env bash
# Configures and builds one build type into build/<type>. Usage: scripts/build.sh [Release|Debug]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
type=${1:-Release}
dir="$root/build/$(echo "$type" | tr '[:upper:]' '[:lower:]')"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" >&2
cmake --build "$dir" --parallel "$(nproc)" >&2
echo "$dir"
